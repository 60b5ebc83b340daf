#pragma once

// Numbers of the built-in messages, for Throw, ThrowMessage and Message.
// Each comment names the context the message text uses.
namespace paltrix::errors::msg {

inline constexpr int kRecordRetrievalError = 1;  // %ErrorText, %File
inline constexpr int kAccessDenied = 2;          // %File
inline constexpr int kAddAnother = 3;            // asks Yes/No
inline constexpr int kRecordInsertError = 4;     // %File, %ErrorText
inline constexpr int kAddNewRecord = 5;
inline constexpr int kFileCloseError = 6;  // %File, %ErrorText
inline constexpr int kRecordChangedElsewhere = 7;
inline constexpr int kRecordChangedShowChanges = 8;
inline constexpr int kRecordChangedOrDeleted = 9;  // %ErrorText, %File
inline constexpr int kConfirmCancel = 10;          // asks Yes/No
inline constexpr int kConfirmDelete = 11;          // asks Yes/No
inline constexpr int kFileCreateError = 12;        // fatal; %ErrorText, %File
inline constexpr int kDeleteError = 13;            // %ErrorText, %File
inline constexpr int kDeleteNotAllowed = 14;
inline constexpr int kDuplicateKey = 15;            // %Message: the key
inline constexpr int kValueNotInFile = 16;          // %Field, %Message: the file
inline constexpr int kValueNotInList = 17;          // %Field, %Message: the list
inline constexpr int kValueOutOfRange = 18;         // %Field, %Message: the range
inline constexpr int kValueTooHigh = 19;            // %Field, %Message: the upper limit
inline constexpr int kValueTooLow = 20;             // %Field, %Message: the lower limit
inline constexpr int kFileLoadError = 21;           // %File, %ErrorText
inline constexpr int kParserNextRecordFailed = 22;  // fatal; %File
inline constexpr int kInsertNotAllowed = 23;
inline constexpr int kTransactionCancelled = 24;  // %ErrorText, %File
inline constexpr int kNoRecords = 25;
inline constexpr int kFileOpenError = 26;        // fatal; %File, %ErrorText
inline constexpr int kProcedureNotDefined = 27;  // %Message: the procedure
inline constexpr int kUpdateError = 28;          // %ErrorText, %File
inline constexpr int kKeyBuildError = 29;        // fatal; %ErrorText, %File
inline constexpr int kInvalidKey = 30;           // %File
inline constexpr int kRecordHeld = 31;           // %File
inline constexpr int kDeleteRestricted = 33;     // %File
inline constexpr int kUpdateRestricted = 34;     // %File
inline constexpr int kAutoNumberFailed = 35;     // asks Yes/No; %File, %Key, %ErrorText
inline constexpr int kRetryDelete = 36;          // asks Yes/No
inline constexpr int kRetryUpdate = 37;          // asks Yes/No
inline constexpr int kConfirmSave = 38;          // asks Yes/No
inline constexpr int kBeginningOfFile = 39;      // asks Yes/No; %File
inline constexpr int kEndOfFile = 40;            // asks Yes/No; %File
inline constexpr int kUpdateNotAllowed = 41;
inline constexpr int kFileNotOpen = 42;             // fatal; %File
inline constexpr int kViewOpenError = 43;           // %ErrorText
inline constexpr int kUnsupportedQueryColumn = 44;  // %Field
inline constexpr int kSmtpError = 45;               // %Message
inline constexpr int kNntpError = 46;               // %Message
inline constexpr int kSocketError = 47;             // %Message
inline constexpr int kParserQueueFailed = 48;       // fatal; %File
inline constexpr int kParserInvalidFile = 49;       // fatal; %File
inline constexpr int kParserInvalidControl = 50;    // fatal; %Field, %File
inline constexpr int kParserMissingId = 51;         // fatal; %Field, %File
inline constexpr int kReportCommentError = 52;      // %Message, %Field
inline constexpr int kReportUnknownProperty = 53;   // %Message

}  // namespace paltrix::errors::msg
