#include "tests/support/postgres_test_server.h"

#include <libpq-fe.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <utility>

#include "tests/support/child_process.h"
#include "tests/support/file_text.h"

namespace paltrix::testing {
namespace {

struct ConnectionCloser {
  void operator()(PGconn* connection) const { PQfinish(connection); }
};
struct ResultClearer {
  void operator()(PGresult* result) const { PQclear(result); }
};

// Runs the server script; throws with its output when it fails.
void RunServerScript(const std::string& command, const std::filesystem::path& folder) {
  const std::filesystem::path log = folder.string() + ".log";
  const pid_t child = SpawnProgram({PALTRIX_TEST_SERVER_SCRIPT, command, folder.string()},
                                   ChildOutput{.out = log, .err = {}, .append = false});
  if (WaitForExit(child) != 0) {
    throw std::runtime_error("pg-test-server.sh " + command + " failed: " + ReadFileText(log));
  }
}

std::string UniqueDatabaseName() {
  static std::atomic<int> counter{0};
  return "scratch_" + std::to_string(getpid()) + "_" + std::to_string(++counter);
}

}  // namespace

std::string TestServerUrl() {
  const char* url = std::getenv("PALTRIX_TEST_POSTGRES");
  if (url == nullptr || *url == '\0') {
    throw std::runtime_error(
        "PALTRIX_TEST_POSTGRES is not set: run this test through ctest, whose fixture starts the "
        "private PostgreSQL server (tools/pg-test-server.sh start DIR; then set the variable to "
        "the URI that `tools/pg-test-server.sh url DIR` prints)");
  }
  return url;
}

std::string DatabaseUrl(const std::string& serverUrl, const std::string& database) {
  const std::size_t start = serverUrl.find(":///");
  const std::size_t end = serverUrl.find('?');
  if (start == std::string::npos || end == std::string::npos || end < start) {
    throw std::runtime_error("not a test server URI: " + serverUrl);
  }
  return serverUrl.substr(0, start + 4) + database + serverUrl.substr(end);
}

void ExecuteSql(const std::string& url, const std::string& sql) {
  std::unique_ptr<PGconn, ConnectionCloser> connection(PQconnectdb(url.c_str()));
  if (PQstatus(connection.get()) != CONNECTION_OK) {
    throw std::runtime_error("cannot connect to " + url + ": " + PQerrorMessage(connection.get()));
  }
  std::unique_ptr<PGresult, ResultClearer> result(PQexec(connection.get(), sql.c_str()));
  const ExecStatusType status = PQresultStatus(result.get());
  if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
    throw std::runtime_error(sql + ": " + PQerrorMessage(connection.get()));
  }
}

ScratchDatabase::ScratchDatabase() : ScratchDatabase(TestServerUrl()) {}

ScratchDatabase::ScratchDatabase(std::string serverUrl)
    : serverUrl_(std::move(serverUrl)),
      name_(UniqueDatabaseName()),
      url_(DatabaseUrl(serverUrl_, name_)) {
  ExecuteSql(serverUrl_, "CREATE DATABASE " + name_);
}

ScratchDatabase::~ScratchDatabase() {
  try {
    ExecuteSql(serverUrl_, "DROP DATABASE IF EXISTS " + name_ + " WITH (FORCE)");
  } catch (const std::exception&) {
    // A server stopped by the test takes its databases with it.
  }
}

PrivateTestServer::PrivateTestServer(std::filesystem::path folder) : folder_(std::move(folder)) {
  RunServerScript("start", folder_);
  RunServerScript("url", folder_);
  url_ = ReadFileText(folder_.string() + ".log");
  while (!url_.empty() && (url_.back() == '\n' || url_.back() == '\r')) url_.pop_back();
}

PrivateTestServer::~PrivateTestServer() {
  try {
    RunServerScript("remove", folder_);
  } catch (const std::exception&) {
    // Nothing more to do in a destructor; the script has said why on its log.
  }
  std::error_code ignored;
  std::filesystem::remove(folder_.string() + ".log", ignored);
}

void PrivateTestServer::Stop() {
  RunServerScript("stop", folder_);
}

void PrivateTestServer::Restart() {
  // "start" would make a fresh cluster; the same data comes up with pg_ctl.
  RunServerScript("restart", folder_);
}

}  // namespace paltrix::testing
