#pragma once

#include <array>
#include <string_view>

namespace tavix {

// The status texts of the progress window, by index.
enum class TransferStatus : int {
  kTransferCancelled = 0,
  kReceiverCancelled = 1,
  kTimeOut = 2,
  kUnknownError = 3,
  kCrcError = 4,
  kSenderCancelled = 5,
  kLongPacket = 6,
  kTooManyErrors = 7,
  kBadFilePosition = 8,
  kCouldNotOpenFile = 9,
  kWaitingForReceiver = 10,
  kSendingZrqinit = 11,
  kSendingFilename = 12,
  kSendingFile = 13,
  kWaitingForFileName = 14,
  kReceivingFile = 15,
  kLostCarrier = 16,
  kRetransmittingBlock = 17,
  kTransferCompleted = 18,
  kBadBlock = 19,
  kChecksumError = 20,
  kErrorWritingToFile = 21,
};

inline constexpr std::array<std::string_view, 22> kTransferStatusTexts = {
    "Transfer Cancelled",
    "Receiver Cancelled",
    "Time Out",
    "Unknown Error",
    "CRC Error",
    "Sender Cancelled",
    "Long Packet",
    "Too Many Errors",
    "Bad File Position",
    "Could Not Open File",
    "Waiting For Receiver",
    "Sending ZRQINIT",
    "Sending Filename",
    "Sending File",
    "Waiting For FileName",
    "Receiving File",
    "Lost Carrier",
    "Retransmitting Block",
    "Transfer Completed",
    "Bad Block",
    "Checksum Error",
    "Error Writing To File",
};

inline std::string_view TransferStatusText(TransferStatus status) {
  return kTransferStatusTexts[static_cast<std::size_t>(status)];
}

// Problem statuses add to the error count of the progress window; progress statuses do not.
inline bool IsProblemStatus(TransferStatus status) {
  switch (status) {
    case TransferStatus::kWaitingForReceiver:
    case TransferStatus::kSendingZrqinit:
    case TransferStatus::kSendingFilename:
    case TransferStatus::kSendingFile:
    case TransferStatus::kWaitingForFileName:
    case TransferStatus::kReceivingFile:
    case TransferStatus::kTransferCompleted:
      return false;
    default:
      return true;
  }
}

// Result codes of Upload, UploadEx, Download and DownloadEx.
enum TransferResult : int {
  kTransferOk = 0,
  kTransferCannotOpenFile = 1,
  kTransferReceiverCancelled = 2,
  kTransferSenderCancelled = 3,
  kTransferTimeOut = 4,
  kTransferLostCarrier = 5,
  kTransferWriteError = 6,
  kTransferTooManyErrors = 7,
  kUploadBadProtocol = 8,
  kUploadNoMemory = 9,
  kDownloadBadProtocol = 10,
  kDownloadNoMemory = 11,
  kDownloadNoFileName = 12,
};

// The Zmodem exports share codes 1 to 5 with the table above (2: the receiving side or its user
// cancelled, 3: the sending side or its user cancelled, or too many errors); 6 and 7 differ.
inline constexpr int kZmodemSendNoMemory = 6;
inline constexpr int kZmodemReceiveNoMemory = 7;

}  // namespace tavix
