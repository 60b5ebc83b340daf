#include "framework/errors/error_manager.h"

#include <fmt/format.h>

#include <cassert>
#include <unordered_map>

#include "framework/errors/built_in_messages.h"
#include "framework/errors/console_presenter.h"
#include "framework/errors/placeholders.h"
#include "framework/text/windows1252.h"

namespace paltrix::errors {
namespace {

// Codes with which the run-time says that the file driver failed; %ErrorText
// then shows the driver's own text and code.
constexpr int kFileDriverErrorCode = 90;
constexpr int kFileDriverErrorCodeAlternative = 100;

constexpr std::string_view kStandardCategory = "ABC";

// At most `limit` bytes of `text`, never ending inside a UTF-8 sequence.
std::string CutText(std::string_view text, std::size_t limit) {
  if (text.size() <= limit) return std::string(text);
  std::size_t end = limit;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  return std::string(text.substr(0, end));
}

std::string ContextText(std::string_view text) {
  return CutText(text::TrimRight(text), ErrorManager::kMaxContextLength);
}

std::uint64_t NextInstanceId() {
  static std::atomic<std::uint64_t> next{1};
  return next++;
}

}  // namespace

struct ErrorManager::ThreadState {
  std::string fieldName;
  std::string fileName;
  std::string keyName;
  std::string messageText;
  RuntimeError savedError;
  MessageEntry current;
  int previousId = 0;
};

ErrorManager::ErrorManager(MessagePresenter& presenter, ProgramTerminator& terminator,
                           const Clock& clock)
    : presenter_(&presenter),
      terminator_(&terminator),
      clock_(clock),
      instanceId_(NextInstanceId()) {}

ErrorManager::~ErrorManager() {
  Kill();
}

void ErrorManager::SetPresenter(MessagePresenter& presenter) {
  presenter_ = &presenter;
}

void ErrorManager::SetTerminator(ProgramTerminator& terminator) {
  terminator_ = &terminator;
}

ErrorManager::ThreadState& ErrorManager::StateOfThisThread() const {
  // Keyed by instance number rather than address, so a manager created where
  // a destroyed one lived starts with an empty state.
  thread_local std::unordered_map<std::uint64_t, ThreadState> states;
  return states[instanceId_];
}

void ErrorManager::Init() {
  auto log = std::make_unique<StandardErrorLog>();
  StandardErrorLog& standard = *log;
  {
    std::lock_guard lock(mutex_);
    standardLog_ = std::move(log);
  }
  Init(standard);
}

void ErrorManager::Init(ErrorLog& log) {
  Result<std::vector<MessageEntry>> builtIn = DecodeMessageTable(BuiltInMessageTable());
  assert(builtIn.ok() && "the built-in table is checked at compile time");
  {
    std::lock_guard lock(mutex_);
    messages_ = std::move(builtIn).value();
    history_.clear();
    procedureNames_.clear();
    log_ = &log;
    defaultCategory_ = kStandardCategory;
  }
  historyThreshold_ = 0;
  historyViewLevel_ = kLevelFatal;
  historyResetOnView_ = false;
}

Status ErrorManager::AddErrors(std::span<const std::uint8_t> storedTable) {
  Result<std::vector<MessageEntry>> entries = DecodeMessageTable(storedTable);
  if (!entries.ok()) return entries.status();
  std::lock_guard lock(mutex_);
  for (MessageEntry& entry : *entries) messages_.push_back(std::move(entry));
  return Status::Ok();
}

void ErrorManager::Kill() {
  std::lock_guard lock(mutex_);
  messages_.clear();
  history_.clear();
  procedureNames_.clear();
  log_ = nullptr;
  standardLog_.reset();
}

void ErrorManager::SetField(std::string_view name) {
  StateOfThisThread().fieldName = ContextText(name);
}

void ErrorManager::SetFile(std::string_view name) {
  StateOfThisThread().fileName = ContextText(name);
}

void ErrorManager::SetKey(std::string_view name) {
  StateOfThisThread().keyName = ContextText(name);
}

void ErrorManager::SetProcedureName(std::string_view name) {
  std::lock_guard lock(mutex_);
  procedureNames_.push_back({std::this_thread::get_id(), std::string(name)});
}

void ErrorManager::RemoveProcedureName() {
  std::lock_guard lock(mutex_);
  const std::thread::id self = std::this_thread::get_id();
  for (auto entry = procedureNames_.rbegin(); entry != procedureNames_.rend(); ++entry) {
    if (entry->thread == self) {
      procedureNames_.erase(std::next(entry).base());
      return;
    }
  }
}

std::string ErrorManager::ProcedureNameOfThisThread() const {
  std::lock_guard lock(mutex_);
  const std::thread::id self = std::this_thread::get_id();
  for (auto entry = procedureNames_.rbegin(); entry != procedureNames_.rend(); ++entry) {
    if (entry->thread == self) return entry->name;
  }
  return {};
}

bool ErrorManager::SelectMessage(int number) const {
  ThreadState& state = StateOfThisThread();
  state.previousId = state.current.id;
  std::lock_guard lock(mutex_);
  for (auto entry = messages_.rbegin(); entry != messages_.rend(); ++entry) {
    if (entry->id == number) {
      state.current = *entry;
      return true;
    }
  }
  state.current = MessageEntry{};
  return false;
}

std::string ErrorManager::MessageText(int number) const {
  std::lock_guard lock(mutex_);
  for (auto entry = messages_.rbegin(); entry != messages_.rend(); ++entry) {
    if (entry->id == number) return entry->text;
  }
  return {};
}

int ErrorManager::Throw(int number) {
  ThreadState& state = StateOfThisThread();
  const RuntimeError& runtime = CurrentRuntimeError();
  state.savedError = {runtime.code, ContextText(runtime.text), ContextText(runtime.fileErrorCode),
                      ContextText(runtime.fileError)};

  SelectMessage(number);
  const int level = state.current.level;
  const std::string title = state.current.title;
  switch (level) {
    case kLevelBenign:
      return kLevelBenign;
    case kLevelUser:
    case kLevelCancel: {
      const int button = ShowMessage(FormatMessage(), title, MessageIcon::kExclamation,
                                     kButtonYes | kButtonNo, kButtonYes);
      return button == kButtonYes ? kLevelBenign : kLevelCancel;
    }
    case kLevelNotify:
      ShowMessage(FormatMessage(), title, MessageIcon::kInformation, kButtonOk, kButtonOk);
      return kLevelNotify;
    default:
      ShowMessage(FormatMessage() + std::string(kFatalSuffix), title, MessageIcon::kInformation,
                  kButtonOk, kButtonOk);
      terminator_.load()->Halt(title);
      return kLevelFatal;
  }
}

int ErrorManager::ThrowMessage(int number, std::string_view text) {
  StateOfThisThread().messageText = ContextText(text);
  return Throw(number);
}

int ErrorManager::Message(int number, int buttons, int defaultButton) {
  if (silent_) return defaultButton;
  if (!SelectMessage(number)) return 0;
  const ThreadState& state = StateOfThisThread();
  return presenter_.load()->ShowMessageBox({FormatMessage(), state.current.title,
                                            MessageIcon::kExclamation, buttons, defaultButton,
                                            messageStyle_});
}

int ErrorManager::ViewHistory() {
  const std::vector<HistoryEntry> entries = History();
  return presenter_.load()->ShowHistory(kHistoryWindowTitle, entries, kButtonOk | kButtonHelp,
                                        kButtonOk);
}

std::string ErrorManager::FormatMessage() const {
  const ThreadState& state = StateOfThisThread();
  const RuntimeError& saved = state.savedError;
  auto text = [](const std::string& value) { return [&value] { return value; }; };
  const Placeholder placeholders[] = {
      {"%FileErrorCode", text(saved.fileErrorCode)},
      {"%FileError", text(saved.fileError)},
      {"%File", text(state.fileName)},
      {"%Key", text(state.keyName)},
      {"%ErrorCode", [&] { return std::to_string(saved.code); }},
      {"%ErrorText",
       [&] {
         // A failure without a driver text of its own (kInvalidValue is 100)
         // shows the run-time's text rather than an empty " ()".
         if ((saved.code == kFileDriverErrorCode ||
              saved.code == kFileDriverErrorCodeAlternative) &&
             !saved.fileError.empty()) {
           return fmt::format("{} ({})", saved.fileError, saved.fileErrorCode);
         }
         return fmt::format("{} ({})", saved.text, saved.code);
       }},
      {"%Error", text(saved.text)},
      {"%Message", text(state.messageText)},
      {"%Field", text(state.fieldName)},
      {"%Procedure", [this] { return ProcedureNameOfThisThread(); }},
      {"%Category", text(state.current.category)},
      {"%Previous", [&] { return MessageText(state.previousId); }},
  };
  return ReplacePlaceholders(state.current.text, placeholders);
}

int ErrorManager::ShowMessage(std::string_view text, std::string_view title, MessageIcon icon,
                              int buttons, int defaultButton) {
  if (logErrors_) WriteLogLine(text);
  const std::int32_t threshold = historyThreshold_;
  if (threshold != 0) RecordInHistory(text, threshold);
  if (silent_) return defaultButton;

  MessagePresenter& presenter = *presenter_.load();
  if (threshold == 0) {
    return presenter.ShowMessageBox(
        {std::string(text), std::string(title), icon, buttons, defaultButton, messageStyle_});
  }
  if (StateOfThisThread().current.level != historyViewLevel_) return defaultButton;
  const int button = presenter.ShowHistory(title, History(), buttons, defaultButton);
  if (historyResetOnView_) {
    std::lock_guard lock(mutex_);
    history_.clear();
  }
  return button;
}

void ErrorManager::WriteLogLine(std::string_view text) {
  const LocalDateTime now = clock_.Now();
  std::string line =
      fmt::format("{:02}/{:02}/{:04}@{:02}:{:02}:{:02} --> {}", now.date.day, now.date.month,
                  now.date.year, now.hour, now.minute, now.second, text);
  // A message is one line of the log even when its text has line breaks.
  for (char& c : line) {
    if (c == '\n' || c == '\r') c = ' ';
  }
  std::lock_guard lock(mutex_);
  if (log_ == nullptr) return;
  // A log that cannot be written must not keep the message from the user.
  if (log_->Open() != kLogOk) return;
  log_->Write(line);
  log_->Close();
}

void ErrorManager::RecordInHistory(std::string_view text, std::int32_t threshold) {
  const MessageEntry& current = StateOfThisThread().current;
  std::lock_guard lock(mutex_);
  if (threshold > 0) {
    while (history_.size() >= static_cast<std::size_t>(threshold)) history_.pop_front();
  }
  history_.push_back({current.category.empty() ? defaultCategory_ : current.category,
                      CutText(text, kMaxHistoryTextLength), current.id});
}

std::vector<HistoryEntry> ErrorManager::History() const {
  std::lock_guard lock(mutex_);
  return {history_.begin(), history_.end()};
}

std::string ErrorManager::defaultCategory() const {
  std::lock_guard lock(mutex_);
  return defaultCategory_;
}

void ErrorManager::SetDefaultCategory(std::string_view category) {
  std::lock_guard lock(mutex_);
  defaultCategory_ = category;
}

ErrorManager& GlobalErrorManager() {
  static ConsolePresenter consolePresenter;
  static ExitingTerminator exitingTerminator;
  static ErrorManager manager(consolePresenter, exitingTerminator);
  return manager;
}

}  // namespace paltrix::errors
