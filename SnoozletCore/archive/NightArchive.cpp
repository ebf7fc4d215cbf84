#include "archive/NightArchive.h"

#include "settings/InternetDate.h"

#include <sqlite3.h>

#include <algorithm>
#include <climits>
#include <cstddef>
#include <initializer_list>
#include <utility>

namespace snoozlet {

namespace {

using Failure = NightArchiveFailure;

// Run on every open. Nothing is migrated: an existing file is used as it is.
constexpr const char* kSetupScript = R"sql(
PRAGMA journal_mode = WAL;
PRAGMA cache_size = -256;
CREATE TABLE IF NOT EXISTS nights (start REAL PRIMARY KEY, end REAL NOT NULL, kind TEXT NOT NULL, mood TEXT NOT NULL, dark_wakes INTEGER NOT NULL, awake_seconds REAL NOT NULL, battery_first INTEGER, battery_last INTEGER, drop_points INTEGER, battery_hours REAL NOT NULL, per_hour REAL, top_category TEXT, culprit TEXT, sleep_reason TEXT, app_version TEXT);
CREATE TABLE IF NOT EXISTS night_reasons (night_start REAL NOT NULL, category TEXT NOT NULL, count INTEGER NOT NULL, awake_seconds REAL NOT NULL, PRIMARY KEY (night_start, category));
CREATE TABLE IF NOT EXISTS night_holders (night_start REAL NOT NULL, process TEXT NOT NULL, type TEXT NOT NULL, name TEXT NOT NULL, count INTEGER NOT NULL, held_seconds REAL NOT NULL, origin TEXT NOT NULL);
CREATE TABLE IF NOT EXISTS night_requests (night_start REAL NOT NULL, process TEXT NOT NULL, activity TEXT NOT NULL, count INTEGER NOT NULL);
CREATE INDEX IF NOT EXISTS night_holders_start ON night_holders(night_start);
CREATE INDEX IF NOT EXISTS night_requests_start ON night_requests(night_start);
CREATE TABLE IF NOT EXISTS sleep_counts (slept REAL PRIMARY KEY, resumed REAL NOT NULL, mem_sleep TEXT NOT NULL, hardware_sleep REAL, suspends INTEGER, failures INTEGER);
CREATE TABLE IF NOT EXISTS sleep_wake_sources (slept REAL NOT NULL, name TEXT NOT NULL, device TEXT NOT NULL, driver TEXT NOT NULL, pci_class TEXT NOT NULL, acpi_name TEXT NOT NULL, wakeups INTEGER NOT NULL, events INTEGER NOT NULL);
CREATE INDEX IF NOT EXISTS sleep_wake_sources_slept ON sleep_wake_sources(slept);
)sql";

// How long a write waits for another connection (another process, say) that
// holds the file's write lock.
constexpr int kBusyTimeoutMilliseconds = 5000;

// Child rows kept per night.
constexpr std::size_t kMaxHolders = 20;
constexpr std::size_t kMaxRequesters = 20;

// Nights scanned for baseline samples.
constexpr int kBaselineScan = 400;

Failure lastError(sqlite3* db) {
  const char* message = sqlite3_errmsg(db);
  return Failure::sqlite(message != nullptr ? message : "?", sqlite3_errcode(db) & 0xFF);
}

// A value for one statement parameter; std::monostate binds NULL.
using SqlValue = std::variant<std::monostate, long long, double, std::string_view>;

SqlValue integer(long long value) { return value; }
SqlValue integerOrNull(const std::optional<int>& value) {
  return value ? SqlValue(static_cast<long long>(*value)) : SqlValue();
}
SqlValue realOrNull(const std::optional<double>& value) { return value ? SqlValue(*value) : SqlValue(); }
SqlValue textOrNull(const std::optional<std::string>& value) {
  return value ? SqlValue(std::string_view(*value)) : SqlValue();
}

// An integer column squeezed into an int (a foreign or damaged file may hold
// anything).
int clampedInt(long long value) { return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX)); }

// A prepared statement, finalized when it goes out of scope.
class Statement {
 public:
  // Prepares the whole text and binds the values to parameters 1, 2, 3, …
  static Result<Statement, Failure> prepare(sqlite3* db, const std::string& text,
                                            std::initializer_list<SqlValue> values = {}) {
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db, text.c_str(), -1, &raw, nullptr) != SQLITE_OK) {
      sqlite3_finalize(raw);
      return Result<Statement, Failure>::failure(lastError(db));
    }
    Statement statement(db, raw);
    int index = 1;
    for (const SqlValue& value : values) {
      // A failed binding would leave NULL in the row: report it instead.
      const int rc = statement.bind(index++, value);
      if (rc != SQLITE_OK) return Result<Statement, Failure>::failure(Failure::sqlite(sqlite3_errstr(rc)));
    }
    return statement;
  }

  Statement(Statement&& other) noexcept : db_(other.db_), stmt_(std::exchange(other.stmt_, nullptr)) {}
  Statement& operator=(Statement&&) = delete;
  ~Statement() { sqlite3_finalize(stmt_); }

  // SQLITE_ROW, SQLITE_DONE or an error code.
  int step() { return sqlite3_step(stmt_); }

  // Steps once; anything but SQLITE_DONE fails with the connection's message.
  Result<void, Failure> run() {
    if (step() != SQLITE_DONE) return Result<void, Failure>::failure(lastError(db_));
    return {};
  }

  // The final result of a stepping loop: SQLITE_DONE succeeds.
  Result<void, Failure> finished(int rc) const {
    if (rc != SQLITE_DONE) return Result<void, Failure>::failure(lastError(db_));
    return {};
  }

  bool isNull(int column) const { return sqlite3_column_type(stmt_, column) == SQLITE_NULL; }
  double real(int column) const { return sqlite3_column_double(stmt_, column); }
  long long integer(int column) const { return sqlite3_column_int64(stmt_, column); }
  std::optional<int> optionalInt(int column) const {
    if (isNull(column)) return std::nullopt;
    return clampedInt(integer(column));
  }
  std::optional<double> optionalReal(int column) const {
    if (isNull(column)) return std::nullopt;
    return real(column);
  }
  std::optional<std::string> text(int column) const {
    const auto* bytes = sqlite3_column_text(stmt_, column);
    if (bytes == nullptr) return std::nullopt;
    return std::string(reinterpret_cast<const char*>(bytes),
                       static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column)));
  }

 private:
  Statement(sqlite3* db, sqlite3_stmt* stmt) : db_(db), stmt_(stmt) {}

  int bind(int index, const SqlValue& value) {
    if (const auto* i = std::get_if<long long>(&value)) return sqlite3_bind_int64(stmt_, index, *i);
    if (const auto* d = std::get_if<double>(&value)) return sqlite3_bind_double(stmt_, index, *d);
    if (const auto* s = std::get_if<std::string_view>(&value))
      return sqlite3_bind_text64(stmt_, index, s->data(), s->size(), SQLITE_TRANSIENT, SQLITE_UTF8);
    return sqlite3_bind_null(stmt_, index);
  }

  sqlite3* db_;
  sqlite3_stmt* stmt_;
};

// Prepares, binds and steps a statement that returns no rows.
Result<void, Failure> execute(sqlite3* db, const std::string& text, std::initializer_list<SqlValue> values = {}) {
  auto statement = Statement::prepare(db, text, values);
  if (!statement) return Result<void, Failure>::failure(statement.error());
  return statement->run();
}

ArchivedNight readNight(const Statement& row, const std::map<double, std::map<WakeCategory, int>>& reasons) {
  ArchivedNight night;
  night.start = row.real(0);
  night.end = row.isNull(1) ? night.start : row.real(1);
  const auto kind = row.text(2);
  night.kind = kind == "daytimeNap" ? SleepKind::daytimeNap : SleepKind::night;
  const auto mood = row.text(3);
  night.mood = mood == "restless" ? Mood::restless : mood == "sleepless" ? Mood::sleepless : Mood::soundAsleep;
  night.darkWakes = clampedInt(row.integer(4));
  night.awakeSeconds = row.real(5);
  night.batteryFirst = row.optionalInt(6);
  night.batteryLast = row.optionalInt(7);
  night.drop = row.optionalInt(8);
  night.batteryHours = row.real(9);
  night.perHour = row.optionalReal(10);
  if (const auto top = row.text(11)) night.topCategory = wakeCategoryFromString(*top);
  night.culprit = row.text(12);
  if (const auto found = reasons.find(night.start); found != reasons.end()) night.reasons = found->second;
  return night;
}

}  // namespace

bool NightArchiveFailure::damaged() const { return code == SQLITE_NOTADB || code == SQLITE_CORRUPT; }

Result<std::filesystem::path> NightArchive::keepAside(const std::filesystem::path& file, Instant now) {
  namespace fs = std::filesystem;
  const std::string base = file.string() + ".damaged-" + InternetDate::compact(now);
  fs::path aside = base;
  std::error_code ignored;
  for (int n = 2; fs::exists(fs::symlink_status(aside, ignored)) || fs::exists(aside.string() + "-wal", ignored); ++n) {
    if (n > 1000) return Result<fs::path>::failure(Error{"no free name beside " + file.string()});
    aside = base + "-" + std::to_string(n);
  }
  std::error_code error;
  fs::rename(file, aside, error);
  if (error) return Result<fs::path>::failure(Error{error.message()});
  // The write-ahead log belongs to the damaged file: it goes with it, never into the new archive.
  for (const char* suffix : {"-wal", "-shm"}) {
    const fs::path companion = file.string() + suffix;
    if (fs::exists(fs::symlink_status(companion, ignored))) fs::rename(companion, aside.string() + suffix, ignored);
  }
  return aside;
}

std::string ArchiveError::description() const {
  return std::visit([](const auto& failure) { return failure.description(); }, value);
}

Result<std::unique_ptr<NightArchive>, ArchiveError> NightArchive::open(const std::filesystem::path& file) {
  using Opened = Result<std::unique_ptr<NightArchive>, ArchiveError>;
  std::unique_ptr<NightArchive> archive(new NightArchive());

  const std::filesystem::path folder = file.parent_path();
  if (!folder.empty()) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) return Opened::failure(ArchiveError{ArchiveFolderFailure{folder, error}});
  }

  // A handle may be set even when opening fails; the destructor closes it.
  const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX;
  if (sqlite3_open_v2(file.string().c_str(), &archive->db_, flags, nullptr) != SQLITE_OK)
    return Opened::failure(ArchiveError{lastError(archive->db_)});
  sqlite3_busy_timeout(archive->db_, kBusyTimeoutMilliseconds);

  char* message = nullptr;
  if (const int rc = sqlite3_exec(archive->db_, kSetupScript, nullptr, nullptr, &message); rc != SQLITE_OK) {
    std::string text = message != nullptr ? message : "?";
    sqlite3_free(message);
    return Opened::failure(ArchiveError{Failure::sqlite(std::move(text), rc & 0xFF)});
  }
  sqlite3_free(message);
  return Opened(std::move(archive));
}

NightArchive::~NightArchive() { sqlite3_close_v2(db_); }

Result<void, NightArchive::Failure> NightArchive::store(const std::vector<NightReport>& reports,
                                                        std::string_view appVersion) {
  std::lock_guard guard(lock_);
  if (auto begun = execute(db_, "BEGIN"); !begun) return begun;

  auto outcome = [&]() -> Result<void, Failure> {
    for (const NightReport& report : reports) {
      // A night still going on is not over yet: it is archived once it has ended.
      if (report.session.ending.kind() == SessionEnd::Kind::ongoing) continue;
      if (auto stored = storeReport(report, appVersion); !stored) return stored;
    }
    return execute(db_, "COMMIT");
  }();

  // Whatever failed, nothing of this call stays; a failing rollback changes nothing more.
  if (!outcome) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
  return outcome;
}

Result<void, NightArchive::Failure> NightArchive::storeReport(const NightReport& report, std::string_view appVersion) {
  const ArchivedNight night = ArchivedNight::from(report);
  const SqlValue start = night.start;
  const SqlValue topCategory = night.topCategory ? SqlValue(toString(*night.topCategory)) : SqlValue();

  auto upserted = execute(db_,
                          "INSERT OR REPLACE INTO nights (start, end, kind, mood, dark_wakes, awake_seconds, "
                          "battery_first, battery_last, drop_points, battery_hours, per_hour, top_category, culprit, "
                          "sleep_reason, app_version) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
                          {start, night.end, toString(night.kind), toString(night.mood), integer(night.darkWakes),
                           night.awakeSeconds, integerOrNull(night.batteryFirst), integerOrNull(night.batteryLast),
                           integerOrNull(night.drop), night.batteryHours, realOrNull(night.perHour), topCategory,
                           textOrNull(night.culprit), std::string_view(report.session.sleepReason), appVersion});
  if (!upserted) return upserted;

  for (const char* table : {"night_reasons", "night_holders", "night_requests"}) {
    auto deleted = execute(db_, std::string("DELETE FROM ") + table + " WHERE night_start = ?", {start});
    if (!deleted) return deleted;
  }

  for (const ReasonGroup& group : report.groups) {
    auto inserted = execute(db_, "INSERT INTO night_reasons VALUES (?, ?, ?, ?)",
                            {start, toString(group.category), integer(group.count), group.awakeSeconds});
    if (!inserted) return inserted;
  }
  const std::size_t holders = std::min(report.holders.size(), kMaxHolders);
  for (std::size_t i = 0; i < holders; ++i) {
    const HolderGroup& holder = report.holders[i];
    auto inserted =
        execute(db_, "INSERT INTO night_holders VALUES (?, ?, ?, ?, ?, ?, ?)",
                {start, std::string_view(holder.process), std::string_view(holder.type), std::string_view(holder.name),
                 integer(holder.count), holder.heldSeconds, toString(holder.origin)});
    if (!inserted) return inserted;
  }
  const std::size_t requesters = std::min(report.requesters.size(), kMaxRequesters);
  for (std::size_t i = 0; i < requesters; ++i) {
    const RequesterGroup& requester = report.requesters[i];
    auto inserted = execute(
        db_, "INSERT INTO night_requests VALUES (?, ?, ?, ?)",
        {start, std::string_view(requester.process), std::string_view(requester.activity), integer(requester.count)});
    if (!inserted) return inserted;
  }
  return {};
}

Result<std::map<double, std::map<WakeCategory, int>>, NightArchive::Failure> NightArchive::readReasons() {
  using Reasons = std::map<double, std::map<WakeCategory, int>>;
  auto statement = Statement::prepare(db_, "SELECT night_start, category, count FROM night_reasons");
  if (!statement) return Result<Reasons, Failure>::failure(statement.error());
  Reasons reasons;
  int rc;
  while ((rc = statement->step()) == SQLITE_ROW) {
    const auto text = statement->text(1);
    const auto category = text ? wakeCategoryFromString(*text) : std::nullopt;
    if (!category) continue;
    // NULLs read as 0; a later row for the same night and category wins.
    reasons[statement->real(0)][*category] = clampedInt(statement->integer(2));
  }
  if (auto finished = statement->finished(rc); !finished) return Result<Reasons, Failure>::failure(finished.error());
  return reasons;
}

Result<std::vector<ArchivedNight>, NightArchive::Failure> NightArchive::nights(std::optional<SleepKind> kind,
                                                                               int limit) {
  using Nights = Result<std::vector<ArchivedNight>, Failure>;
  std::lock_guard guard(lock_);
  auto reasons = readReasons();
  if (!reasons) return Nights::failure(reasons.error());

  std::string query =
      "SELECT start, end, kind, mood, dark_wakes, awake_seconds, battery_first, battery_last, drop_points, "
      "battery_hours, per_hour, top_category, culprit FROM nights ";
  // The filter text comes from the enumeration itself, never from outside input.
  if (kind) query += "WHERE kind = '" + std::string(toString(*kind)) + "'";
  query += " ORDER BY start DESC LIMIT ?";

  // SQLite reads a negative limit as "no limit"; a negative request reads nothing.
  auto statement = Statement::prepare(db_, query, {integer(std::max(limit, 0))});
  if (!statement) return Nights::failure(statement.error());
  std::vector<ArchivedNight> nights;
  int rc;
  while ((rc = statement->step()) == SQLITE_ROW) nights.push_back(readNight(*statement, *reasons));
  if (auto finished = statement->finished(rc); !finished) return Nights::failure(finished.error());
  return nights;
}

Result<std::vector<BaselineSample>, NightArchive::Failure> NightArchive::baselineSamples(int limit) {
  auto nights = this->nights(SleepKind::night, kBaselineScan);
  if (!nights) return Result<std::vector<BaselineSample>, Failure>::failure(nights.error());
  std::vector<BaselineSample> samples;
  for (const ArchivedNight& night : *nights) {
    if (static_cast<int>(samples.size()) >= limit) break;
    if (auto sample = night.baselineSample()) samples.push_back(*sample);
  }
  return samples;
}

Result<void, NightArchive::Failure> NightArchive::storeSleep(const SleepCounts& c) {
  std::lock_guard guard(lock_);
  if (auto begun = execute(db_, "BEGIN"); !begun) return begun;
  auto outcome = [&]() -> Result<void, Failure> {
    const auto count = [](const std::optional<std::uint64_t>& v) {
      return v ? SqlValue(static_cast<long long>(std::min<std::uint64_t>(*v, LLONG_MAX))) : SqlValue();
    };
    auto stored = execute(db_, "INSERT OR REPLACE INTO sleep_counts VALUES (?, ?, ?, ?, ?, ?)",
                          {c.slept, c.resumed, std::string_view(c.memSleep), realOrNull(c.hardwareSleep),
                           count(c.suspends), count(c.failures)});
    if (!stored) return stored;
    if (auto deleted = execute(db_, "DELETE FROM sleep_wake_sources WHERE slept = ?", {c.slept}); !deleted) {
      return deleted;
    }
    for (const SourceWakes& s : c.sources) {
      auto inserted =
          execute(db_, "INSERT INTO sleep_wake_sources VALUES (?, ?, ?, ?, ?, ?, ?, ?)",
                  {c.slept, std::string_view(s.name), std::string_view(s.device), std::string_view(s.driver),
                   std::string_view(s.pciClass), std::string_view(s.acpiName), count(s.wakeups), count(s.events)});
      if (!inserted) return inserted;
    }
    return execute(db_, "COMMIT");
  }();
  if (!outcome) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
  return outcome;
}

Result<std::vector<SleepCounts>, NightArchive::Failure> NightArchive::sleeps(Instant from, Instant to) {
  using Sleeps = Result<std::vector<SleepCounts>, Failure>;
  std::lock_guard guard(lock_);
  auto statement = Statement::prepare(db_,
                                      "SELECT slept, resumed, mem_sleep, hardware_sleep, suspends, failures FROM "
                                      "sleep_counts WHERE slept >= ? AND slept <= ? ORDER BY slept",
                                      {from, to});
  if (!statement) return Sleeps::failure(statement.error());
  std::vector<SleepCounts> out;
  // A damaged file may hold negative counts: they read as nothing.
  const auto count = [](const Statement& row, int column) -> std::optional<std::uint64_t> {
    if (row.isNull(column) || row.integer(column) < 0) return std::nullopt;
    return static_cast<std::uint64_t>(row.integer(column));
  };
  int rc;
  while ((rc = statement->step()) == SQLITE_ROW) {
    SleepCounts c;
    c.slept = statement->real(0);
    c.resumed = statement->real(1);
    c.memSleep = statement->text(2).value_or("");
    c.hardwareSleep = statement->optionalReal(3);
    c.suspends = count(*statement, 4);
    c.failures = count(*statement, 5);
    out.push_back(std::move(c));
  }
  if (auto finished = statement->finished(rc); !finished) return Sleeps::failure(finished.error());
  for (SleepCounts& c : out) {
    auto rows = Statement::prepare(db_,
                                   "SELECT name, device, driver, pci_class, acpi_name, wakeups, events FROM "
                                   "sleep_wake_sources WHERE slept = ? ORDER BY wakeups DESC, rowid",
                                   {c.slept});
    if (!rows) return Sleeps::failure(rows.error());
    while ((rc = rows->step()) == SQLITE_ROW) {
      c.sources.push_back({rows->text(0).value_or(""), rows->text(1).value_or(""), rows->text(2).value_or(""),
                           rows->text(3).value_or(""), rows->text(4).value_or(""), count(*rows, 5).value_or(0),
                           count(*rows, 6).value_or(0)});
    }
    if (auto finished = rows->finished(rc); !finished) return Sleeps::failure(finished.error());
  }
  return out;
}

}  // namespace snoozlet
