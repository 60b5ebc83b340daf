#pragma once

#include <filesystem>
#include <string>

namespace paltrix::testing {

// The connection URI of the private PostgreSQL server that the CTest fixture
// started (environment variable PALTRIX_TEST_POSTGRES). Throws
// std::runtime_error, saying how to get one, when the variable is not set.
std::string TestServerUrl();

// `serverUrl` (a URI as tools/pg-test-server.sh prints it) with its database
// replaced by `database`.
std::string DatabaseUrl(const std::string& serverUrl, const std::string& database);

// Runs SQL on the database behind `url`; throws std::runtime_error with the
// server's message when it fails.
void ExecuteSql(const std::string& url, const std::string& sql);

// A fresh, empty database of its own on a server, dropped (connections and
// all) when the object goes away, so tests never see each other's rows.
class ScratchDatabase {
 public:
  // On the fixture's server.
  ScratchDatabase();
  explicit ScratchDatabase(std::string serverUrl);
  ScratchDatabase(const ScratchDatabase&) = delete;
  ScratchDatabase& operator=(const ScratchDatabase&) = delete;
  ~ScratchDatabase();

  const std::string& name() const { return name_; }
  const std::string& url() const { return url_; }

 private:
  std::string serverUrl_;
  std::string name_;
  std::string url_;
};

// A server of the test's own in `folder`, for tests that stop and start it
// under running programs. Started by the constructor, removed (folder
// included) by the destructor.
class PrivateTestServer {
 public:
  explicit PrivateTestServer(std::filesystem::path folder);
  PrivateTestServer(const PrivateTestServer&) = delete;
  PrivateTestServer& operator=(const PrivateTestServer&) = delete;
  ~PrivateTestServer();

  // A clean, fast shutdown; the data stays.
  void Stop();
  // Up again on the same data.
  void Restart();
  const std::string& url() const { return url_; }

 private:
  std::filesystem::path folder_;
  std::string url_;
};

}  // namespace paltrix::testing
