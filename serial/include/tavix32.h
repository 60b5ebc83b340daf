/*
 * tavix32 — serial communications: ports COM1..COM20, byte and block I/O, modem lines, CRCs,
 * and ASCII, Xmodem, Ymodem and Zmodem file transfers, behind a flat C interface.
 *
 * CONVENTIONS (everything below relies on them)
 *
 * Naming. Every export is a plain C function with an undecorated name in mixed case (SetPort,
 * ComGetc, GetCRC32). Types and constants of this header start with Tavix / TAVIX_.
 *
 * Ports. A port is named by its index 0..19: index n is "COM<n+1>". COM n is the device
 * /dev/ttyS<n-1> unless overridden, in this order:
 *   1. the environment variable TAVIX_COM<n>, e.g. TAVIX_COM1=/dev/ttyUSB0;
 *   2. a line "COM<n>=/path/to/device" in the ports file: the file named by TAVIX_PORTS_FILE,
 *      else $XDG_CONFIG_HOME/tavix32/ports.conf (~/.config/tavix32/ports.conf), else
 *      /etc/tavix32/ports.conf. Blank lines and lines starting with '#' are ignored.
 * Any character device works, including USB adapters and pseudo-terminals. A device without
 * modem-status lines (a pseudo-terminal) reports CTS, DSR and carrier detect as on.
 *
 * Results. Functions return 32-bit integers in small families, each with fixed English texts:
 *   - port open (SetPort, SetPortEx), 0..7: TAVIX_PORT_* below; DisplayPortError shows the text.
 *   - line settings (InitPort) 0 set, 1 port not open or device refused, 2 invalid argument.
 *   - transfers 0..12: see the transfer section at the end of this header.
 * Reads report "nothing there" as 0 bytes or -1, never as an error; ComGetd alone reports a
 * time-out (-10). Functions documented as "requires an open port" do not check the index: the
 * caller passes an open port (an index outside 0..19 is still refused safely, never a crash).
 *
 * Time. Delays are counted in ticks of 55 ms; 18 ticks are taken as one second.
 *
 * Windows. A TavixWindow is a QObject* (normally a QWidget*) of the caller's Qt application, or
 * NULL. The library shows dialogs and message boxes only when a QApplication exists and the call
 * comes from its thread; otherwise it writes the message to standard error and goes on with the
 * default answer. Waiting calls (ComDelay and everything that waits through it) process the
 * calling thread's Qt events, so the caller's windows stay responsive during transfers.
 *
 * Threads. All calls run on the caller's thread. At most one receive-notification thread runs
 * per open port (ComNotifyThread); it only waits for input and notifies, it never reads data.
 * The port table is shared by the whole process and calls are not serialised: one thread at a
 * time drives a given port.
 *
 * What a caller may assume:
 *   - No read ever stores more than the port's receive queue size (8192 unless set by
 *     SetPortEx) plus one terminating zero byte. A buffer of rxQueueSize + 1 bytes is enough
 *     for ComGetb and ComGets.
 *   - Writes reach the device in blocks; a write waits while the line is full (processing
 *     events) and gives up when the line has accepted nothing for the write time-out (5000 ms).
 *   - The library owns all memory it allocates; nothing returned must be freed by the caller.
 *   - Closing a port (ResetPort) never changes DTR.
 */
#ifndef TAVIX32_H
#define TAVIX32_H

#include <stdint.h>

#if defined(TAVIX32_BUILDING)
#define TAVIX32_API __attribute__((visibility("default")))
#else
#define TAVIX32_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef void* TavixWindow;

/* Number of entries in the port table; valid indexes are 0..TAVIX_PORT_COUNT-1. */
#define TAVIX_PORT_COUNT 20
/* One tick of the library's clock in milliseconds, and the ticks counted as one second. */
#define TAVIX_TICK_MS 55
#define TAVIX_TICKS_PER_SECOND 18

/* ======================================================================================
 * Port layer
 * ====================================================================================== */

/* Results of SetPort and SetPortEx, with the texts DisplayPortError shows. */
#define TAVIX_PORT_OPENED 0        /* "Communications Port Successfully Opened" */
#define TAVIX_PORT_NO_DEVICE 1     /* "No UART Found" */
#define TAVIX_PORT_UNKNOWN 2       /* "Unknown Error" (not returned by the open) */
#define TAVIX_PORT_NO_MEMORY 3     /* "Insufficient Memory For Communications Buffers" (not returned) */
#define TAVIX_PORT_INVALID 4       /* "Invalid Communications Port Specified" */
#define TAVIX_PORT_CANNOT_OPEN 5   /* "Unable To Open Communications Port" (not returned) */
#define TAVIX_PORT_IN_USE 6        /* "Communications Port Is Already In Use" */
#define TAVIX_PORT_OPEN_FAILED 7   /* "Unknown Communications Port Error" */

/* Default queue sizes; SetPortEx replaces a size below 128 by these. */
#define TAVIX_DEFAULT_RX_QUEUE 8192
#define TAVIX_DEFAULT_TX_QUEUE 1152

/* Opens the port for this process alone (an advisory exclusive lock keeps other programs of
 * this library out). DTR is raised and both queues are empty afterwards. Line settings are the
 * device's own until InitPort. Flow control: CTS/RTS on, XON/XOFF and DSR/DTR off.
 * Returns a TAVIX_PORT_* code: 4 for an index outside 0..19, 6 when already open here or held
 * by another process, 1 when the device does not exist, 7 for any other failure. */
TAVIX32_API int32_t SetPort(int32_t port, uintptr_t ownerTag);

/* As SetPort with the queue sizes (16-bit; below 128 gives the defaults) and the three flow
 * controls given. The receive queue size limits every read of the library (see above); the
 * transmit queue size is what TxFree counts against and ComPutc waits on. */
TAVIX32_API int32_t SetPortEx(int32_t port, uintptr_t ownerTag, int32_t rxQueueSize,
                              int32_t txQueueSize, int32_t ctsRts, int32_t xonXoff,
                              int32_t dsrDtr);

/* Programs the line: baud one of 110, 300, 1200, 2400, 4800, 9600, 14400, 19200, 38400, 57600
 * (programmed as 56000), 115200; parity 0 none, 1 odd, 2 even; dataBits 4..8; stopBits 1 or 2.
 * Flow control from the port's flags: CTS/RTS wins over DSR/DTR (which is cleared). Raw binary
 * mode with parity checking. Returns 0 set, 1 port not open or the device refused (data bits a
 * device cannot do), 2 invalid argument. On 1 or 2 the device keeps its previous settings. */
TAVIX32_API int32_t InitPort(int32_t port, int32_t baud, int32_t parity, int32_t dataBits,
                             int32_t stopBits);

/* Closes the port when ownerTag is the opener's tag; otherwise does nothing. Received bytes are
 * dropped; written bytes still go out (waiting up to the write time-out, then purged); receive
 * notification is stopped and cleared. */
TAVIX32_API void ResetPort(int32_t port, uintptr_t ownerTag);

/* Stores the three flags and programs them (both may be on together here). Ignored for a
 * closed port. DSR/DTR handshake is recorded but the POSIX line discipline cannot perform it. */
TAVIX32_API void SetFlowControl(int32_t port, int32_t ctsRts, int32_t xonXoff, int32_t dsrDtr);

/* Transfer options read by the transfers: ASCII without progress window, Zmodem crash recovery
 * (on after every open), Zmodem full path names, ignore a low carrier. Ignored for a closed port. */
TAVIX32_API void SetFileXferOptions(int32_t port, int32_t asciiQuiet, int32_t zmodemResume,
                                    int32_t fullPathNames, int32_t ignoreCarrier);

/* Fills out[5] from the device's current settings: baud as programmed; rate index (1 = 1200,
 * 2 = 2400, 3 = 4800, 4 = 9600, 5 = 19200, 6 = 38400, 7 = 56000 or 57600, 8 = 115200, 0 other);
 * data bits; stop bits (1 or 2); parity (0 none, 1 odd, 2 even).
 * Returns 0 filled, 1 port not open, 2 settings unreadable. */
TAVIX32_API int32_t GetCommParams(int32_t port, int32_t* out);

/* The open device's file descriptor, or -1 when the port is not open. */
TAVIX32_API int32_t GetWindowsPort(int32_t port);

/* Receive notification. With enable non-zero, arms "character received" for the port: the
 * notification thread then tells `window` of arriving bytes by posting a Qt event of type
 * TAVIX_COMMNOTIFY_EVENT (when a QCoreApplication exists), and calls the callback set by
 * SetReceiveCallback (when one is set); window may be NULL when only the callback is wanted.
 * With enable 0, disarms it, which also makes a waiting notification thread end.
 * Returns 0 done, 1 failed (closed port). */
TAVIX32_API int32_t SetReceiveNotify(int32_t port, TavixWindow window, int32_t enable);

/* Temporarily disarms (suspend non-zero) or re-arms notification of a port that has a
 * notification window or callback; a waiting notification thread ends on suspend. */
TAVIX32_API void SuspendReceiveNotify(int32_t port, int32_t suspend);

/* A notification thread's routine; receives the port index. */
typedef int32_t (*TavixThreadRoutine)(int32_t port);

/* start non-zero: runs `routine` (normally ComNotifyRoutine) on a new thread of lower priority;
 * returns 0, 2 when one already runs for the port, 1 when it cannot be created ("Create Thread"
 * message). start 0: waits for the port's thread to end (disarm notification first) and returns 0;
 * returns 0 at once when none runs. */
TAVIX32_API int32_t ComNotifyThread(int32_t port, int32_t start, TavixThreadRoutine routine);

/* The library's own notification routine: while notification is armed it waits for input and
 * sends one notification per wake-up (not per byte); the receiver drains the queue itself.
 * Returns 0 when notification is disarmed or the wait fails. */
TAVIX32_API int32_t ComNotifyRoutine(int32_t port);

/* Type of the Qt event posted to the notification window (QEvent::User + 0x44). The event is
 * posted once per wake-up; the port index is available to C++ callers from the event object. */
#define TAVIX_COMMNOTIFY_EVENT 1068
/* The notification code passed with each notification ("bytes have arrived"). */
#define TAVIX_CN_EVENT 4

/* Called on the notification thread (not the caller's) once per wake-up. */
typedef void (*TavixReceiveCallback)(int32_t port, int32_t code, void* context);

/* Sets (or, with callback NULL, removes) the notification callback of an open port.
 * Returns 0 done, 1 port not open. */
TAVIX32_API int32_t SetReceiveCallback(int32_t port, TavixReceiveCallback callback, void* context);

/* Shows "Port Open Error" with the text of a TAVIX_PORT_* code ("Unknown Error" outside 0..7). */
TAVIX32_API int32_t DisplayPortError(int32_t code);

/* ======================================================================================
 * Byte and block I/O, queues, modem lines
 * ====================================================================================== */

/* Reading. None of these waits except ComGetd. */

/* Next received byte 0..255, or -1 when nothing is queued. Requires an open port. */
TAVIX32_API int32_t ComGetc(int32_t port);
/* Next byte, waiting up to seconds × 18 ticks (processing events); -10 on time-out. */
TAVIX32_API int32_t ComGetd(int32_t port, TavixWindow window, int32_t seconds);
/* Reads what is queued, at most the receive queue size, then stores a zero byte. Returns the
 * count. buffer must hold rxQueueSize + 1 bytes. */
TAVIX32_API int32_t ComGetb(int32_t port, uint8_t* buffer);
/* Reads queued bytes up to the terminator (consumed, not kept; bytes after it stay queued) or
 * the receive queue size; stores a zero byte after them; returns their count. */
TAVIX32_API int32_t ComGets(int32_t port, uint8_t* buffer, uint8_t terminator);
/* Reads min(queued, maximum, receive queue size) bytes and stores a zero byte after them. */
TAVIX32_API int32_t ComGetBlock(int32_t port, uint8_t* buffer, int32_t maximum);
/* Reads length + 4 bytes: returns length when they are a block with a correct CRC-32 trailer
 * (buffer[length] is then 0), else -1 and the bytes read are dropped. Wait for RecvCount first.
 * buffer must hold length + 5 bytes. */
TAVIX32_API int32_t ComGetBlockCRC(int32_t port, uint8_t* buffer, int32_t length);

/* Writing. Requires an open port. */

/* Writes one byte, waiting (one tick at a time, processing events) while the transmit queue is
 * full; gives up after the write time-out. Non-zero when the byte was written. */
TAVIX32_API int32_t ComPutc(int32_t port, int32_t byte);
/* Writes length bytes in one block; stops only when the line accepts nothing for the write
 * time-out. */
TAVIX32_API void ComPutb(int32_t port, const uint8_t* buffer, int32_t length);
/* Writes the bytes and their CRC-32 (least significant byte first) in one block. Non-zero when
 * everything was written. */
TAVIX32_API int32_t ComPutbCRC(int32_t port, const uint8_t* buffer, int32_t length);
/* Writes a zero-terminated string without its zero byte. */
TAVIX32_API void ComPuts(int32_t port, const char* text);
/* Writes a modem command: "^M" sends a carriage return, "~" pauses 9 ticks (about half a
 * second), any other "^x" sends "^" then goes on with x, other characters go out as they are. */
TAVIX32_API void ModemPuts(int32_t port, const char* command);
/* Writes ten CAN (0x18) and ten backspaces (0x08). */
TAVIX32_API void CancelTransfer(int32_t port);
/* Empties the transmit queue and holds a break for 4 ticks. Non-zero when the break was
 * cleared again. */
TAVIX32_API int32_t SendBreak(int32_t port);

/* Queues and lines. ClrBuf..ClrTransBuf, Dtr, Rts, ModemStat, Iscd and IsRing ignore a closed
 * port; the others require an open port. */

TAVIX32_API void ClrBuf(int32_t port);
TAVIX32_API void ClrRecvBuf(int32_t port);
TAVIX32_API void ClrTransBuf(int32_t port);
/* 1 when nothing is queued for reading, else 0. */
TAVIX32_API int32_t Rxempty(int32_t port);
/* Number of received bytes queued (the library's own queue and the device's). */
TAVIX32_API int32_t RecvCount(int32_t port);
/* txQueueSize minus the bytes waiting to be sent (never negative). */
TAVIX32_API int32_t TxFree(int32_t port);
/* Bytes waiting to be sent. */
TAVIX32_API int32_t TxUsed(int32_t port);
TAVIX32_API void Dtr(int32_t port, int32_t on);
TAVIX32_API void Rts(int32_t port, int32_t on);

/* Modem status bits of ModemStat. */
#define TAVIX_MS_CTS_ON 0x10
#define TAVIX_MS_DSR_ON 0x20
#define TAVIX_MS_RING_ON 0x40
#define TAVIX_MS_RLSD_ON 0x80

/* Low byte of the modem status (TAVIX_MS_*); 0 for a closed port or unreadable status. */
TAVIX32_API int32_t ModemStat(int32_t port);
/* 1 when carrier detect is on. */
TAVIX32_API int32_t Iscd(int32_t port);
/* 1 when the ring indicator (0x40) or its trailing edge (0x04) is set. */
TAVIX32_API int32_t IsRing(int32_t port);
/* Lowers DTR and waits 9 ticks; DTR stays low. */
TAVIX32_API void ModemHangUp(int32_t port);

/* Utilities. */

/* Waits ticks × 55 ms, processing the calling thread's Qt events in every round. Returns 1 at
 * once when the application is asked to quit or `window` is asked to close (the request is
 * passed on again after the call returns, for the caller's own event loop), else a non-zero
 * clock value. 0 ticks still processes pending events once. Without Qt, it simply sleeps. */
TAVIX32_API int32_t ComDelay(TavixWindow window, int32_t ticks);
/* CRC-32 (IEEE 802.3, reflected 0xEDB88320, init and final XOR 0xFFFFFFFF); 0 for length <= 0. */
TAVIX32_API uint32_t GetCRC32(const uint8_t* buffer, int32_t length);
/* The top-level window holding `window` (the window itself when it has none). */
TAVIX32_API TavixWindow GetParentWindow(TavixWindow window);

/* Message box flags (combine one button set with one icon) and answers. */
#define TAVIX_MB_OK 0x00
#define TAVIX_MB_OKCANCEL 0x01
#define TAVIX_MB_ABORTRETRYIGNORE 0x02
#define TAVIX_MB_YESNOCANCEL 0x03
#define TAVIX_MB_YESNO 0x04
#define TAVIX_MB_RETRYCANCEL 0x05
#define TAVIX_MB_ICONSTOP 0x10
#define TAVIX_MB_ICONQUESTION 0x20
#define TAVIX_MB_ICONEXCLAMATION 0x30
#define TAVIX_MB_ICONINFORMATION 0x40
#define TAVIX_ID_OK 1
#define TAVIX_ID_CANCEL 2
#define TAVIX_ID_ABORT 3
#define TAVIX_ID_RETRY 4
#define TAVIX_ID_IGNORE 5
#define TAVIX_ID_YES 6
#define TAVIX_ID_NO 7

/* Formats with printf rules (the text is cut at 511 characters), beeps for the icon, and
 * shows a message box with the caption and buttons; returns the TAVIX_ID_* pressed. Without a
 * QApplication it writes "caption: text" to standard error and returns the first button. */
TAVIX32_API int32_t DisplayMessage(TavixWindow window, const char* caption, uint32_t flags,
                                   const char* format, ...)
    __attribute__((format(printf, 4, 5)));

/* The modal dialog "Communications Errors" with the port's five line-error counters; returns 1.
 * Without a QApplication the counters go to standard error. */
TAVIX32_API int32_t DisplayErrors(int32_t port, TavixWindow parent);

/* Messages understood by CommErrorDialogProc. */
#define TAVIX_WM_INITDIALOG 0x0110
#define TAVIX_WM_COMMAND 0x0111

/* The dialog procedure of DisplayErrors: TAVIX_WM_INITDIALOG with lParam = port fills the
 * counters; TAVIX_WM_COMMAND with wParam 1 (OK) ends the dialog with 1. Returns 1 when the
 * message was handled, else 0. */
TAVIX32_API intptr_t CommErrorDialogProc(TavixWindow dialog, uint32_t message, uintptr_t wParam,
                                         intptr_t lParam);

/* Creates the directory with all missing parents ('/' or '\' separate). 0 when it exists or
 * was created, 1 otherwise (also for an empty path or one starting with a blank). */
TAVIX32_API int32_t MakeDir(const char* path);
/* 1-based position of the first occurrence of word in text, letters A-Z folded to lower case;
 * 0 when absent or either is empty. */
TAVIX32_API int16_t StrWord(const char* text, const char* word);
/* Value of up to four leading hexadecimal digits; 0 when one of them is not a hex digit. */
TAVIX32_API int32_t StrHex(const char* text);

/* ======================================================================================
 * Transfer progress for programs without windows
 * ====================================================================================== */

/* A snapshot of a running transfer, valid only during the callback. */
typedef struct TavixTransferProgress {
  const char* fileName; /* current file ("" when none yet) */
  int64_t fileSize;     /* announced or known size in bytes; -1 when not known */
  int64_t bytes;        /* bytes of the current file transferred so far */
  int32_t errors;       /* errors counted for the current file */
  const char* status;   /* the status text the progress window would show */
} TavixTransferProgress;

/* Called on the transfer's (the caller's) thread whenever the transfer's progress changes. */
typedef void (*TavixProgressCallback)(int32_t port, const TavixTransferProgress* progress,
                                      void* context);

/* Sets (callback NULL: removes) the progress callback of an open port; every transfer on the
 * port reports to it, with or without a progress window. Cleared by every open.
 * Returns 0 done, 1 port not open. */
TAVIX32_API int32_t SetTransferProgressCallback(int32_t port, TavixProgressCallback callback,
                                                void* context);

/* ======================================================================================
 * Terminal
 * ====================================================================================== */

/* A ready-made terminal window for a port: menu, a bar of seven buttons, an 88-column screen
 * with a 100-line buffer that interprets ANSI cursor, erase and colour sequences, local echo,
 * DoorWay keys, capture to a file, the "Session Parameters" and "Select A Protocol" dialogs,
 * uploads and downloads, and a Zmodem download that starts by itself when the peer sends one
 * ("*" directly followed by CAN). The terminal is a Qt window of the caller's QApplication and
 * runs in the caller's event loop; when its frame closes while an event loop runs,
 * QCoreApplication::exit(0) is called.
 *
 * The window procedures of other systems are Qt classes here: the frame ("Terminal", a
 * QMainWindow with the menu), the display (a QAbstractScrollArea drawing the screen), the button
 * bar and the status strip (QWidgets), and the two dialogs (QDialogs). They are not exported;
 * programs use the functions below.
 *
 * Results of CreateTvxTerm and CreateTvxTermEx, with the texts DisplayTermError shows
 * (caption "Terminal Error"; any other code shows the text of 4). */
#define TAVIX_TERM_CREATED 0       /* "Terminal Successfully Created" */
#define TAVIX_TERM_NO_MEMORY 1     /* "Insufficient Memory for Terminal Structures" */
#define TAVIX_TERM_NO_WINDOWS 2    /* "Unable to Create Terminal Windows" (also: no QApplication) */
#define TAVIX_TERM_PORT_FAILED 3   /* "Unable To Open Communications Port" */
#define TAVIX_TERM_UNKNOWN 4       /* "UnKnown Terminal Error" */

/* Opens the terminal on a port the caller has opened and set up. attribute is the PC text
 * attribute of the screen (low nibble foreground, high nibble background, e.g. 0x07); echo
 * non-zero shows typed characters. The caller's window (may be NULL) has its top-level window
 * disabled during transfers. When the port's terminal exists already, it is raised and 0 is
 * returned. Must be called on the QApplication's thread. */
TAVIX32_API int32_t CreateTvxTerm(int32_t port, TavixWindow caller, int32_t attribute,
                                  int32_t echo);
/* As CreateTvxTerm, but the terminal opens the port itself (SetPortEx with the default queues
 * and CTS/RTS flow control, then InitPort with the settings given) and closes it again when
 * the terminal closes. An open error also shows the port's message. */
TAVIX32_API int32_t CreateTvxTermEx(int32_t port, TavixWindow caller, int32_t attribute,
                                    int32_t echo, int32_t baud, int32_t parity,
                                    int32_t dataBits, int32_t stopBits);
/* 1 while the port's terminal exists, else 0. */
TAVIX32_API int32_t CheckIfTermActive(int32_t port);
/* Shows the text of a terminal result code; returns the message box answer. */
TAVIX32_API int32_t DisplayTermError(int32_t code);
/* For an active terminal: the protocol preselected by the protocol dialog (0..6, see
 * GetProtoNum; anything else selects Zmodem) and the initial folders of the upload and
 * download dialogs (the download folder also receives the automatic Zmodem download). NULL
 * keeps a folder; a folder name longer than 255 characters is refused and the previous one
 * kept. */
TAVIX32_API void SetTermOptions(int32_t port, int32_t defaultProtocol, const char* uploadDir,
                                const char* downloadDir);
/* 0..6 for "ASCII", "Xmodem", "Xmodem 1K", "Xmodem 1K-G", "Ymodem", "Ymodem-G", "Zmodem"
 * (letter case ignored); -1 for any other name or NULL. */
TAVIX32_API int32_t GetProtoNum(const char* name);

/* Capture. Bytes collect in a 65 024-byte buffer per port and are appended to the capture file
 * (binary) whenever 65 023 are collected, when the file name changes and when capture ends. The
 * file is "TERM<port + 4>.CAP" in the working folder until SetCaptureFile names one. When the
 * file cannot be written the bytes stay in the buffer and every new byte tries again; the first
 * failure is reported once ("Capture" message); while the buffer is full, new bytes are not
 * stored. The terminal captures every character it shows (a TAB with the blanks it makes). */
/* on non-zero starts capture (0, or 1 when out of memory or the index is outside 0..19); on 0
 * writes what is collected and ends capture (0). */
TAVIX32_API int32_t SetCaptureBuf(int32_t port, int32_t on);
/* Writes what is collected to the previous file, then names the capture file. Ignored while
 * the port does not capture. */
TAVIX32_API void SetCaptureFile(int32_t port, const char* fileName);
/* Stores a byte (CapPutc) or each byte of a zero-terminated string (CapPuts) while the port
 * captures; otherwise does nothing. */
TAVIX32_API void CapPutc(int32_t port, int32_t byte);
TAVIX32_API void CapPuts(int32_t port, const char* text);

/* ======================================================================================
 * File transfers (ASCII, Xmodem, Ymodem, Zmodem)
 * ====================================================================================== */
/* TRANSFERS-BEGIN: this section is filled by the transfer layer (serial/src/transfer). */
/*
 * Every transfer runs on the caller's thread, on an open and configured port. While it runs,
 * receive notification is suspended and the caller's top-level window is disabled; a progress
 * window (object name "ZmodemTransfer") shows file, size, bytes, CPS, errors and status when a
 * QApplication exists, and the port's progress callback hears of every change either way.
 * Without a QApplication the interactive exports (Upload, Download, SendZmodem, GetZmodem)
 * show no file dialog and return 0, as for a cancelled dialog.
 *
 * Protocols of Upload/Download: 0 ASCII, 1 Xmodem, 2 Xmodem 1K, 3 Xmodem 1K-G, 4 Ymodem,
 * 5 Ymodem-G (6 Zmodem has exports of its own).
 *
 * Results of Upload, UploadEx, Download, DownloadEx:
 *   0 completed (or the file dialog was cancelled)   1 a file cannot be opened
 *   2 receiver cancelled                               3 sender cancelled
 *   4 time out                                         5 lost carrier
 *   6 error writing to the received file               7 too many errors
 *   8 Upload: protocol above 5                         9 Upload: no memory
 *  10 Download: protocol above 5                      11 Download: no memory
 *  12 DownloadEx: no file name for a non-batch protocol
 * Results of the Zmodem exports (sender / receiver):
 *   0 done   1 file cannot be opened / created   2 receiver refused, skipped or cancelled /
 *   the user cancelled   3 the user cancelled / the sender cancelled or too many errors
 *   4 - / no answer to ZRINIT   5 lost carrier   6 no memory / error writing   7 - / no memory
 *
 * Received names never leave the download folder: "/" and "\" both separate, drive letters,
 * ".", ".." and empty components are dropped, and a name with control characters is refused.
 */

/* Asks for files (open-file dialog) and sends them with protocol 0..5. */
TAVIX32_API int32_t Upload(int32_t port, TavixWindow window, int32_t protocol);
/* Sends "directory/fileName" in phases: 0 begins a batch and sends the first file, any other
 * phase except -1 sends one more, -1 ends the batch (0 also when none was begun). */
TAVIX32_API int32_t UploadEx(int32_t port, TavixWindow window, int32_t protocol,
                             const char* directory, const char* fileName, int32_t phase);
/* Asks for the target (a folder for Ymodem, a file otherwise) and receives. */
TAVIX32_API int32_t Download(int32_t port, TavixWindow window, int32_t protocol);
/* Receives into "directory/fileName" (non-batch; fileName required) or, for Ymodem, the
 * names the sender gives, inside directory. A NULL or empty directory means the current one. */
TAVIX32_API int32_t DownloadEx(int32_t port, TavixWindow window, int32_t protocol,
                               const char* directory, const char* fileName);
/* Asks for files and sends them as one Zmodem batch. */
TAVIX32_API int32_t SendZmodem(int32_t port, TavixWindow window);
/* Zmodem in phases, as UploadEx: 0 begins and sends, other phases send, -1 ends (ZFIN, "OO"). */
TAVIX32_API int32_t SendZmodemEx(int32_t port, TavixWindow window, const char* directory,
                                 const char* fileName, int32_t phase);
/* Asks for the folder and receives a Zmodem batch into it. */
TAVIX32_API int32_t GetZmodem(int32_t port, TavixWindow window);
/* Receives a Zmodem batch into directory (NULL or empty: the current directory). */
TAVIX32_API int32_t GetZmodemEx(int32_t port, TavixWindow window, const char* directory);
/* TRANSFERS-END */

#ifdef __cplusplus
}
#endif

#endif /* TAVIX32_H */
