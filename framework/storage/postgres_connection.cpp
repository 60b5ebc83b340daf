#include "framework/storage/postgres_connection.h"

#include <fmt/format.h>

#include <array>
#include <cctype>
#include <utility>
#include <vector>

#include "framework/storage/file_format.h"
#include "framework/text/windows1252.h"

namespace paltrix::storage::postgres {
namespace {

// Type OIDs of the server's built-in types (pg_type.dat).
constexpr Oid kByteaOid = 17;
constexpr Oid kInt8Oid = 20;
constexpr Oid kTextOid = 25;
constexpr int kBinary = 1;

// SQLSTATE values (PostgreSQL's errcodes.txt) the engine tells apart.
constexpr std::string_view kUniqueViolation = "23505";
constexpr std::string_view kLockNotAvailable = "55P03";
constexpr std::string_view kDeadlockDetected = "40P01";
constexpr std::string_view kSerializationFailure = "40001";
constexpr std::string_view kInsufficientPrivilege = "42501";
constexpr std::string_view kTransactionRollback = "40000";

// "?12" becomes "$12"; the engine's SQL holds no question mark elsewhere.
std::string ServerParameters(std::string_view sql) {
  std::string out(sql);
  for (std::size_t i = 0; i + 1 < out.size(); ++i) {
    if (out[i] == '?' && std::isdigit(static_cast<unsigned char>(out[i + 1]))) out[i] = '$';
  }
  return out;
}

std::int64_t FromBigEndian(const char* bytes, int length) {
  std::uint64_t value = 0;
  for (int i = 0; i < length; ++i) value = (value << 8) | static_cast<unsigned char>(bytes[i]);
  // Sign-extend the 2- and 4-byte integers.
  const int unused = 64 - 8 * length;
  if (unused > 0 && unused < 64) {
    return static_cast<std::int64_t>(value << unused) >> unused;
  }
  return static_cast<std::int64_t>(value);
}

class ServerStatement final : public db::StatementEngine {
 public:
  ServerStatement(ServerConnection& connection, std::string sql)
      : connection_(connection),
        sql_(std::move(sql)),
        name_(connection.NextStatementName()),
        writes_(!sql_.starts_with("SELECT")) {}
  ~ServerStatement() override {
    Reset();
    PGconn* current = connection_.Current();
    if (current != nullptr && generation_ == connection_.generation()) {
      // A failure here only leaves a prepared statement behind until the
      // connection closes.
      PQclear(PQexec(current, fmt::format("DEALLOCATE {}", name_).c_str()));
    }
  }

  void BindInteger(int index, std::int64_t value) override {
    std::string bytes(8, '\0');
    for (int i = 7; i >= 0; --i) {
      bytes[static_cast<std::size_t>(i)] = static_cast<char>(value & 0xFF);
      value = static_cast<std::int64_t>(static_cast<std::uint64_t>(value) >> 8);
    }
    Bind(index, kInt8Oid, std::move(bytes));
  }
  void BindText(int index, std::string_view value) override {
    Bind(index, kTextOid, std::string(value));
  }
  void BindBlob(int index, std::span<const char> value) override {
    Bind(index, kByteaOid, std::string(value.begin(), value.end()));
  }
  void BindNull(int index) override { Slot(index) = Parameter{}; }
  void BindKeyText(int index, std::string_view value) override {
    Bind(index, kByteaOid, text::FoldCase(value));
  }

  int Step() override;
  void Reset() override {
    PQclear(result_);
    result_ = nullptr;
    row_ = 0;
    parameters_.clear();
  }

  std::int64_t ColumnInteger(int column) const override {
    if (PQgetisnull(result_, row_, column)) return 0;
    return FromBigEndian(PQgetvalue(result_, row_, column), PQgetlength(result_, row_, column));
  }
  std::string_view ColumnBytes(int column) const override {
    if (PQgetisnull(result_, row_, column)) return {};
    return {PQgetvalue(result_, row_, column),
            static_cast<std::size_t>(PQgetlength(result_, row_, column))};
  }

 private:
  struct Parameter {
    Oid type = 0;  // 0: NULL, the server infers the type
    std::string bytes;
    bool null = true;
  };

  Parameter& Slot(int index) {
    if (parameters_.size() < static_cast<std::size_t>(index)) parameters_.resize(index);
    return parameters_[static_cast<std::size_t>(index - 1)];
  }
  void Bind(int index, Oid type, std::string bytes) {
    Slot(index) = Parameter{type, std::move(bytes), false};
  }
  int Execute(PGconn* live);

  ServerConnection& connection_;
  std::string sql_;
  std::string name_;
  bool writes_;
  std::uint64_t generation_ = 0;  // of the connection it was prepared on; 0: not prepared
  std::vector<Parameter> parameters_;
  PGresult* result_ = nullptr;
  int row_ = 0;
};

int ServerStatement::Step() {
  if (result_ != nullptr) {
    ++row_;
    return row_ < PQntuples(result_) ? db::kRow : db::kDone;
  }
  PGconn* live = connection_.Live();
  if (live == nullptr) return ServerConnection::kFailed;
  if (generation_ != connection_.generation()) {
    std::vector<Oid> types;
    for (const Parameter& parameter : parameters_) types.push_back(parameter.type);
    PGresult* prepared =
        PQprepare(live, name_.c_str(), sql_.c_str(), static_cast<int>(types.size()), types.data());
    const int rc = connection_.Record(prepared);
    PQclear(prepared);
    if (rc != db::kOk) return rc;
    generation_ = connection_.generation();
  }
  // Inside a transaction a failed write would abort all of it; the engine's
  // contract is that only the write fails, so it runs under a savepoint of
  // its own. A read that fails leaves the transaction aborted, which its
  // commit then reports.
  const bool guarded = writes_ && connection_.InTransaction();
  if (guarded && connection_.Run("SAVEPOINT statement") != db::kOk) {
    return ServerConnection::kFailed;
  }
  const int rc = Execute(live);
  if (guarded) {
    // Not recorded: the statement's own failure is what the caller asks about.
    const char* end = rc == db::kOk
                          ? "RELEASE SAVEPOINT statement"
                          : "ROLLBACK TO SAVEPOINT statement; RELEASE SAVEPOINT statement";
    PQclear(PQexec(live, end));
  }
  if (rc != db::kOk) return rc;
  row_ = 0;
  return PQntuples(result_) > 0 ? db::kRow : db::kDone;
}

int ServerStatement::Execute(PGconn* live) {
  std::vector<const char*> values;
  std::vector<int> lengths;
  std::vector<int> formats;
  for (const Parameter& parameter : parameters_) {
    values.push_back(parameter.null ? nullptr : parameter.bytes.data());
    lengths.push_back(static_cast<int>(parameter.bytes.size()));
    formats.push_back(kBinary);
  }
  result_ = PQexecPrepared(live, name_.c_str(), static_cast<int>(values.size()), values.data(),
                           lengths.data(), formats.data(), kBinary);
  const int rc = connection_.Record(result_);
  if (rc != db::kOk) {
    PQclear(result_);
    result_ = nullptr;
  }
  return rc;
}

void IgnoreNotice(void*, const PGresult*) {}

// The first line of a libpq message without its severity ("FATAL:  "): the
// rest explains libpq's own guesses at the cause.
std::string FirstLine(std::string_view message) {
  message = message.substr(0, message.find('\n'));
  for (std::string_view severity : {"FATAL:  ", "ERROR:  "}) {
    if (message.starts_with(severity)) message.remove_prefix(severity.size());
  }
  return std::string(message);
}

}  // namespace

std::string SchemaNameFor(std::string_view fileName) {
  const std::size_t dot = fileName.rfind('.');
  const std::string_view stem = dot == std::string_view::npos ? fileName : fileName.substr(0, dot);
  std::string name = "f_";
  for (const char c : stem) {
    const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const bool plain = (lower >= 'a' && lower <= 'z') || (lower >= '0' && lower <= '9');
    name += plain ? lower : '_';
  }
  return name;
}

ServerConnection::ServerConnection(std::string connectionString)
    : connectionString_(std::move(connectionString)) {
  Connect();
}

ServerConnection::~ServerConnection() {
  PQfinish(connection_);
}

void ServerConnection::Connect() {
  reconnect_ = false;
  if (connection_ == nullptr) {
    connection_ = PQconnectdb(connectionString_.c_str());
  } else {
    PQreset(connection_);
  }
  if (PQstatus(connection_) != CONNECTION_OK) {
    failureState_.clear();
    failureText_ = FirstLine(PQerrorMessage(connection_));
    connectionLost_ = false;
    return;
  }
  PQsetNoticeReceiver(connection_, IgnoreNotice, nullptr);
  ++generation_;
  SetBusyWait(busyWaitMilliseconds_);
}

PGconn* ServerConnection::Live() {
  if (connection_ == nullptr || PQstatus(connection_) != CONNECTION_OK || reconnect_) Connect();
  return PQstatus(connection_) == CONNECTION_OK ? connection_ : nullptr;
}

PGconn* ServerConnection::Current() const {
  return PQstatus(connection_) == CONNECTION_OK ? connection_ : nullptr;
}

std::string ServerConnection::NextStatementName() {
  return fmt::format("s{}", ++statementCount_);
}

int ServerConnection::Record(const PGresult* result) {
  const ExecStatusType status = PQresultStatus(result);
  if (result != nullptr &&
      (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK || status == PGRES_EMPTY_QUERY)) {
    return db::kOk;
  }
  const char* state = result != nullptr ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
  const char* primary =
      result != nullptr ? PQresultErrorField(result, PG_DIAG_MESSAGE_PRIMARY) : nullptr;
  failureState_ = state != nullptr ? state : "";
  failureText_ = primary != nullptr ? primary : FirstLine(PQerrorMessage(connection_));
  // An administrator's or a crash's shutdown (class 57P) and connection
  // exceptions (class 08) end the session although libpq may still call the
  // connection good: the next operation must connect again.
  const bool sessionEnded = failureState_.starts_with("57P") || failureState_.starts_with("08");
  connectionLost_ = sessionEnded || PQstatus(connection_) != CONNECTION_OK;
  reconnect_ = reconnect_ || sessionEnded;
  return kFailed;
}

int ServerConnection::Run(const std::string& sql) {
  PGconn* live = Live();
  if (live == nullptr) return kFailed;
  PGresult* result = PQexec(live, sql.c_str());
  int rc = Record(result);
  // A server answers COMMIT of a transaction in which a statement failed with
  // a rollback, and no error: that must not pass for a commit.
  if (rc == db::kOk && sql == "COMMIT" && std::string_view(PQcmdStatus(result)) == "ROLLBACK") {
    failureState_ = kTransactionRollback;
    failureText_ = "the server rolled the transaction back instead of committing it";
    connectionLost_ = false;
    rc = kFailed;
  }
  PQclear(result);
  return rc;
}

int ServerConnection::Prepare(std::string_view sql, db::Statement& out) {
  out = db::Statement(std::make_unique<ServerStatement>(*this, ServerParameters(sql)));
  return db::kOk;
}

int ServerConnection::Execute(std::string_view sql) {
  return Run(std::string(sql));
}

Status ServerConnection::Failure(int, std::string_view context) {
  // The connection's own words go in as the system text too: that is what a
  // run's summary and the error manager's file-error line show.
  std::string connectionText;
  if (PQstatus(connection_) != CONNECTION_OK && !connectionLost_) {
    connectionText = fmt::format("cannot connect to the PostgreSQL server: {}", failureText_);
  } else if (connectionLost_) {
    connectionText = fmt::format(
        "the connection to the PostgreSQL server was lost ({}); the operation was not completed, "
        "the next one connects again",
        failureText_);
  }
  if (!connectionText.empty()) {
    return Status(ErrorCode::kFileSystemError, fmt::format("{}: {}", context, connectionText), 0,
                  connectionText);
  }
  std::string message = fmt::format("{}: {} (PostgreSQL {})", context, failureText_, failureState_);
  if (failureState_ == kUniqueViolation) return Status(ErrorCode::kDuplicateKey, message);
  if (failureState_ == kLockNotAvailable || failureState_ == kDeadlockDetected ||
      failureState_ == kSerializationFailure) {
    return Status(ErrorCode::kRecordHeld, message);
  }
  if (failureState_ == kInsufficientPrivilege) return Status(ErrorCode::kAccessDenied, message);
  return Status(ErrorCode::kFileSystemError, std::move(message), 0, failureText_);
}

bool ServerConnection::InTransaction() {
  if (connection_ == nullptr) return false;
  const PGTransactionStatusType status = PQtransactionStatus(connection_);
  return status == PQTRANS_INTRANS || status == PQTRANS_INERROR || status == PQTRANS_ACTIVE;
}

void ServerConnection::SetBusyWait(int milliseconds) {
  busyWaitMilliseconds_ = milliseconds;
  if (connection_ == nullptr || PQstatus(connection_) != CONNECTION_OK) return;
  // Session settings; a failure shows on the next statement.
  PQclear(PQexec(connection_, fmt::format("SET lock_timeout = {}", milliseconds).c_str()));
}

// An advisory lock per file, held to the end of the transaction: creating a
// file and rebuilding its keys take it, so two stations never do either at
// once.
std::string ServerConnection::TakeWriteLockSql(std::string_view schema) const {
  return fmt::format("SELECT pg_advisory_xact_lock(hashtext('{}'))", schema);
}

// Writers of the files wait (row-exclusive conflicts with share row
// exclusive); readers do not.
std::string ServerConnection::BeginImmediateSql(std::span<const std::string> schemas) const {
  if (schemas.empty()) return "BEGIN";
  std::vector<std::string> tables;
  for (const std::string& schema : schemas) tables.push_back(fmt::format("{}.records", schema));
  return fmt::format("BEGIN; LOCK TABLE {} IN SHARE ROW EXCLUSIVE MODE", fmt::join(tables, ", "));
}

std::string ServerConnection::IdentitySql(std::string_view schema) const {
  return fmt::format("SELECT CASE WHEN to_regclass('{}.{}') IS NULL THEN 0 ELSE {} END", schema,
                     kFileInfoTable, kApplicationId);
}

std::string ServerConnection::ObjectCountSql(std::string_view schema) const {
  return fmt::format(
      "SELECT count(*) FROM pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace "
      "WHERE n.nspname = '{}'",
      schema);
}

std::string ServerConnection::TableExistsSql(std::string_view schema,
                                             std::string_view table) const {
  return fmt::format("SELECT count(*) FROM pg_tables WHERE schemaname = '{}' AND tablename = '{}'",
                     schema, table);
}

std::string ServerConnection::KeyIndexesSql(std::string_view schema, std::string_view table) const {
  return fmt::format(
      "SELECT indexname FROM pg_indexes WHERE schemaname = '{}' AND tablename = "
      "'{}' AND indexname ~ '^key[0-9]'",
      schema, table);
}

std::string ServerConnection::CreateFileSql(std::string_view schema) const {
  return fmt::format(
      "{0}; CREATE SCHEMA IF NOT EXISTS {1}; CREATE SEQUENCE IF NOT EXISTS "
      "{1}.recno_seq",
      TakeWriteLockSql(schema), schema);
}

std::string ServerConnection::OpenFileSql(std::string_view) const {
  return {};
}

std::string ServerConnection::RecordNumberColumn(std::string_view schema) const {
  return fmt::format("bigint PRIMARY KEY DEFAULT nextval('{}.recno_seq')", schema);
}

std::string ServerConnection::CreateIndexSql(std::string_view schema, std::string_view table,
                                             std::string_view name, bool unique,
                                             std::string_view columns) const {
  return fmt::format("CREATE {}INDEX {} ON {}.{}({})", unique ? "UNIQUE " : "", name, schema, table,
                     columns);
}

// The numbering is the file's sequence, which outlives its tables.
std::string ServerConnection::KeepNumberingSql(std::string_view, std::string_view,
                                               std::int64_t) const {
  return {};
}

std::string ServerConnection::HighWaterSql(std::string_view, std::string_view) const {
  return "SELECT 0";
}

}  // namespace paltrix::storage::postgres
