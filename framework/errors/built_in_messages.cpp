#include "framework/errors/built_in_messages.h"

#include <array>

#include "framework/errors/message_numbers.h"

namespace paltrix::errors {
namespace {

constexpr MessageDefinition Define(int id, std::uint8_t level, std::string_view title,
                                   std::string_view text) {
  return {static_cast<std::uint16_t>(id), level, title, text};
}

// Number 32 is not used.
inline constexpr std::array kMessages = {
    Define(msg::kRecordRetrievalError, 5, "Record Retrieval Error",
           "Error: (%ErrorText) attempting to access a record from the %File file.  Returning to "
           "previous window."),
    Define(msg::kAccessDenied, 5, "Access Denied",
           "Could not get write access to %File so trying read-only."),
    Define(msg::kAddAnother, 1, "Record Added",
           "This record has been added to the file. Do you want to add another record?"),
    Define(msg::kRecordInsertError, 5, "Record Insert Error",
           "An error was experienced during the creation of a record.\nFile: %File\nError: "
           "%ErrorText."),
    Define(msg::kAddNewRecord, 5, "Add New Record?",
           "Record match not found, do you wish to add a new one?"),
    Define(msg::kFileCloseError, 5, "File Access Error",
           "File %File could not be closed.  Error: %ErrorText."),
    Define(msg::kRecordChangedElsewhere, 5, "Record Was Not Updated",
           "This record was changed by another station."),
    Define(msg::kRecordChangedShowChanges, 5, "Record Was Not Updated",
           "This record was changed by another station. Those changes will now be displayed. Use "
           "the Ditto Button or Ctrl+H to recall your changes."),
    Define(msg::kRecordChangedOrDeleted, 5, "Record Retrieval Error",
           "This record was changed or deleted by another station.\nError: (%ErrorText) "
           "attempting to access a record from the %File file."),
    Define(msg::kConfirmCancel, 1, "Changes will be lost!", "Are you sure you want to cancel?"),
    Define(msg::kConfirmDelete, 1, "Confirm Delete",
           "Are you sure you want to delete the highlighted record?"),
    Define(msg::kFileCreateError, 3, "File Creation Error", "Error: (%ErrorText) creating %File."),
    Define(msg::kDeleteError, 5, "Record was not deleted",
           "An error (%ErrorText) was experienced when deleting a record from the %File file."),
    Define(msg::kDeleteNotAllowed, 5, "Invalid Request",
           "This form cannot be used to delete a record"),
    Define(msg::kDuplicateKey, 5, "Duplicate Key Error",
           "Adding this record creates a duplicate entry for the key: %Message"),
    Define(msg::kValueNotInFile, 5, "Field contents error",
           "The value of %Field must be found in the %Message file."),
    Define(msg::kValueNotInList, 5, "Value Error",
           "The value of %Field must be in the list : %Message."),
    Define(msg::kValueOutOfRange, 5, "Range Error",
           "The value of %Field must be in range %Message."),
    Define(msg::kValueTooHigh, 5, "Range Error",
           "The value of %Field must be lower than %Message."),
    Define(msg::kValueTooLow, 5, "Range Error",
           "The value of %Field must be higher than %Message."),
    Define(msg::kFileLoadError, 5, "File Load Error", "%File File Load Error.  Error: %ErrorText."),
    Define(msg::kParserNextRecordFailed, 3, "WMF Parser Error",
           "Get next record from file %File failed."),
    Define(msg::kInsertNotAllowed, 5, "Invalid Request",
           "This form cannot be used to insert a record"),
    Define(msg::kTransactionCancelled, 5, "Transaction cancelled",
           "Error: (%ErrorText) attempting to frame the transaction on %File."),
    Define(msg::kNoRecords, 5, "No Records", "There are no records available to process."),
    Define(msg::kFileOpenError, 3, "File Access Error",
           "File %File could not be opened.  Error: %ErrorText."),
    Define(msg::kProcedureNotDefined, 5, "Procedure not defined",
           "The Procedure %Message has not been defined."),
    Define(msg::kUpdateError, 5, "Record was not updated",
           "An error (%ErrorText) was experienced when making changes to the %File file."),
    Define(msg::kKeyBuildError, 3, "Key was not built",
           "Error: (%ErrorText) repairing key for %File."),
    Define(msg::kInvalidKey, 5, "Invalid Key", "%File key file is invalid. Key must be rebuilt."),
    Define(msg::kRecordHeld, 5, "Record not read",
           "A record held by another station was encountered reading from the %File file."),
    Define(msg::kDeleteRestricted, 5, "Referential Integrity Delete Error",
           "This record is referenced from the file %File. This record cannot be deleted while "
           "these references exist."),
    Define(msg::kUpdateRestricted, 5, "Referential Integrity Update Error",
           "This record is referenced from the file %File. Linking field(s) have been restricted "
           "from change and have been reset to original values."),
    Define(msg::kAutoNumberFailed, 1, "Auto Increment Error",
           "Attempts to automatically number this record have failed.\nFile: %File\nKey: "
           "%Key\nError: %ErrorText.\nTry Again?"),
    Define(msg::kRetryDelete, 1, "Record Delete Error",
           "An error was experienced deleting this record. Do you want to try to delete it "
           "again?"),
    Define(msg::kRetryUpdate, 1, "Record Update Error",
           "An error was experienced changing this record. Do you want to try to save again?"),
    Define(msg::kConfirmSave, 1, "Save Record", "Do you want to save the changes to this record?"),
    Define(msg::kBeginningOfFile, 1, "Beginning of File Error",
           "The beginning of the file %File was encountered. Do you want to start again from the "
           "end of the file?"),
    Define(msg::kEndOfFile, 1, "End of File Error",
           "The end of the file %File was encountered. Do you want to start again from the "
           "beginning?"),
    Define(msg::kUpdateNotAllowed, 5, "Invalid Request",
           "This form cannot be used to update a record"),
    Define(msg::kFileNotOpen, 2, "File Usage Error",
           "Attempt to use file (%File) before it was opened"),
    Define(msg::kViewOpenError, 5, "View Open Error",
           "Error: (%ErrorText) attempting to open the current VIEW. Filter and Range Limits "
           "ignored."),
    Define(msg::kUnsupportedQueryColumn, 5, "Unsupported QBE Column",
           "The saved QBE column, %Field is not supported. It will be dropped from the query."),
    Define(msg::kSmtpError, 5, "SMTP Error", "The following SMTP Error occurred: %Message "),
    Define(msg::kNntpError, 5, "NNTP Error", "%Message "),
    Define(msg::kSocketError, 5, "Winsock Error", "%Message "),
    Define(msg::kParserQueueFailed, 3, "WMF Parser Error",
           "Adding record to queue failed. Parsing %File."),
    Define(msg::kParserInvalidFile, 3, "WMF Parser Error",
           "The File %File is not a valid WMF file."),
    Define(msg::kParserInvalidControl, 3, "WMF Parser Error",
           "Invalid %Field control found. Parsing %File."),
    Define(msg::kParserMissingId, 3, "WMF Parser Error", "Cannot find %Field id. Parsing %File."),
    Define(msg::kReportCommentError, 5, "Report Writer Error",
           "Poorly Formed Comment String \"%Message\" at Position %Field."),
    Define(msg::kReportUnknownProperty, 5, "Report Writer Error", "Unknown Property %Message."),
};
static_assert(kMessages.size() == 52);

constexpr bool InNumberOrder(std::span<const MessageDefinition> messages) {
  for (std::size_t i = 1; i < messages.size(); ++i) {
    if (messages[i - 1].id >= messages[i].id) return false;
  }
  return true;
}
static_assert(InNumberOrder(kMessages));

inline constexpr auto kStoredTable = StoredTable<kMessages>();

}  // namespace

std::span<const MessageDefinition> BuiltInMessages() {
  return kMessages;
}

std::span<const std::uint8_t> BuiltInMessageTable() {
  return kStoredTable;
}

}  // namespace paltrix::errors
