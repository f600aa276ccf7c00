#pragma once

// String ids of the language libraries and of the program's own table.
enum StringId : int {
    IDS_SHEET_CAPTION = 102,
    IDS_GROUP_NAME_PROMPT = 103,
    IDS_OVERWRITE_FILE = 105,
    IDS_ENTRY_NOT_FOUND = 106,
    IDS_VAR_NOT_FOUND = 107,
    IDS_FILE_RECEIVED = 108,
    IDS_FILES_RECEIVED = 109,
    IDS_UNKNOWN_FILE_TYPE = 110,
    IDS_FILE_SENT = 111,
    IDS_GROUP_NAME_TITLE = 112,
    IDS_HEAD_FOLDER = 113,
    IDS_HEAD_FOLDER_SIZE = 114,
    IDS_HEAD_VAR = 115,
    IDS_HEAD_TYPE = 116,
    IDS_HEAD_VAR_SIZE = 117,
    IDS_DIRECTORY_FAILED = 118,
    IDS_NOT_READY = 119,
    IDS_NO_FILE_SELECTED = 120,
    IDS_SEND_FAILED = 121,
    IDS_OUT_OF_MEMORY = 122,
    IDS_PORT_NOT_OPENED = 123,
    IDS_CAPTURE_FAILED = 124,
    IDS_CANNOT_CREATE_WINDOW = 134,
    IDS_NO_FOLDER_SELECTED = 135,
    IDS_NO_VAR_SELECTED = 136,

    // A variable named on the command line that the calculator does not list.
    IDS_NAMED_VAR_NOT_FOUND = 200,
    // Why a file is refused before anything is sent.
    IDS_FILE_HEADER_CUT = 201,
    IDS_FILE_ENTRIES_BEYOND_END = 202,
    IDS_FILE_SECTION_CUT = 203,
    IDS_FILE_SECTION_TOO_LONG = 204,
    IDS_FILE_BAD_NAME = 205,
    // What a long exchange is doing, in its progress dialog or line.
    IDS_PROGRESS_RECEIVING = 230,
    IDS_PROGRESS_SENDING = 231,
    IDS_PROGRESS_DIRECTORY = 232,
    IDS_PROGRESS_SCREEN = 233,
    // Bytes so far, and bytes so far of those expected ("%s" each).
    IDS_PROGRESS_BYTES = 234,
    IDS_PROGRESS_BYTES_OF = 235,
    IDS_PROGRESS_CANCEL = 236,
    // The one message of an exchange the user stopped.
    IDS_EXCHANGE_CANCELLED = 237,

    // Backup, restore and what the calculator sends from its own menu.
    IDS_NOT_A_BACKUP = 300,
    IDS_BACKUP_HOLDS_VARIABLES = 301,
    IDS_BACKUP_UNREADABLE = 302,
    IDS_BACKUP_WRONG_LENGTH = 303,
    IDS_BACKUP_BAD_LAYOUT = 304,
    IDS_BACKUP_BAD_CHECKSUM = 305,
    IDS_SEND_IS_BACKUP = 306,
    IDS_SEND_HAS_DIRECTORY = 307,
    IDS_BACKUP_SAVED = 308,
    IDS_BACKUP_FAILED = 309,
    IDS_BACKUP_REFUSED = 310,
    IDS_RESTORE_CONFIRM = 311,
    IDS_RESTORE_DONE = 312,
    IDS_RESTORE_REFUSED = 313,
    IDS_RESTORE_HALF_WAY = 314,
    IDS_LISTEN_WAITING = 316,
    IDS_LISTEN_FAILED = 318,
    IDS_LISTEN_NOT_SAVED = 319,
    IDS_BACKUP_SAVE_TITLE = 320,
    IDS_RESTORE_OPEN_TITLE = 321,
    IDS_BACKUP_FILTER = 322,
    // What backup, restore and waiting for the calculator are doing, and
    // the one message of a restore cancelled once its first header went out.
    IDS_PROGRESS_BACKUP = 323,
    IDS_PROGRESS_RESTORE = 324,
    IDS_RESTORE_CANCELLED = 325,
    IDS_PROGRESS_LISTENING = 326,
    IDS_PROGRESS_LISTENING_MORE = 327,
    // A backup that does not say which ROM it came from, a variable file
    // with no variable in it, a variable saved under its type code, and the
    // command-line program's wording of a backup given to send.
    IDS_BACKUP_NO_ROM_VERSION = 330,
    IDS_SEND_NO_VARIABLE = 331,
    IDS_SAVED_UNDER_TYPE_CODE = 332,
    IDS_SEND_IS_BACKUP_COMMAND = 333,

    // A screen picture that could not be saved.
    IDS_PICTURE_NOT_SAVED = 380,
    IDS_NO_PICTURE = 381,
    IDS_UNKNOWN_PICTURE_FORMAT = 382,
    IDS_SCREEN_SAVED = 383,

    // Texts of the core's own troubles: files on the PC side, the port, the
    // simulated calculator.
    IDS_FILE_NOT_WRITTEN = 420,
    IDS_BAD_GROUP_NAME = 421,
    IDS_MALFORMED_VARIABLE = 422,
    IDS_TOO_MANY_VARIABLES = 423,
    IDS_FOLDER_IN_THE_WAY = 424,
    IDS_FILE_READ_ONLY = 425,
    IDS_NO_TEMPORARY_FILE = 426,
    IDS_FILE_NOT_CREATED = 427,
    IDS_PORT_NO_ACCESS = 430,
    IDS_PORT_UNKNOWN_BASE = 431,
    IDS_PORT_JOIN_GROUP = 432,
    IDS_PORT_ASK_ADMIN = 433,
    IDS_PORT_NO_DEVICE = 434,
    IDS_PORT_CANNOT_OPEN = 435,
    IDS_PORT_HELD = 436,
    IDS_PORT_CANNOT_CLAIM = 437,
    IDS_PORT_NEEDS_ROOT = 438,
    IDS_PORT_REGISTERS_REFUSED = 439,
    IDS_DRIVER_NEEDS_NT = 440,
    IDS_DRIVER_NO_FOLDER = 441,
    IDS_DRIVER_PATH_TOO_LONG = 442,
    IDS_DRIVER_NOT_CARRIED = 443,
    IDS_DRIVER_NOT_WRITTEN = 444,
    IDS_DRIVER_NEEDS_ADMIN = 445,
    IDS_DRIVER_NO_MANAGER = 446,
    IDS_DRIVER_NOT_REGISTERED = 447,
    IDS_DRIVER_WRONG_BUILD = 448,
    IDS_DRIVER_NOT_SIGNED = 449,
    IDS_DRIVER_NOT_STARTED = 450,
    IDS_DRIVER_NO_DEVICE = 451,
    IDS_WITH_ERROR_CODE = 452,
    IDS_SIM_UNPLUGGED = 455,
    IDS_SIM_DAMAGED_FILE = 456,
    IDS_SIM_UNREADABLE = 457,
    IDS_SIM_CANNOT_HOLD = 458,
    IDS_SIM_BACKUP_NOT_LOADED = 459,
    // The serial cables: why a port will not open, and what the cables are called.
    IDS_SERIAL_NO_PORT = 460,
    IDS_SERIAL_NOT_SERIAL = 461,
    IDS_SERIAL_NO_MODEM_LINES = 462,
    IDS_SERIAL_CANNOT_SET = 463,
    IDS_SERIAL_BUSY = 464,
    IDS_CABLE_NO_ANSWER = 466,
    IDS_SERIAL_OPEN_FAILED = 467,
    IDS_CABLE_NOT_OPENED = 468,
    IDS_CABLE_PARALLEL = 470,
    IDS_CABLE_BLACK = 471,
    IDS_CABLE_GRAY = 472,
    IDS_CABLE_USB = 473,
    // The USB link cable: why it will not open, and why an exchange ended.
    IDS_USB_NONE = 480,
    IDS_USB_UNAVAILABLE = 481,
    IDS_USB_NOT_FOUND = 482,
    IDS_USB_DAMAGED_EEPROM = 483,
    IDS_USB_NO_PERMISSION = 484,
    IDS_USB_BUSY = 485,
    IDS_USB_OPEN_FAILED = 486,
    IDS_USB_NO_DRIVER = 487,
    IDS_USB_OTHER_DRIVER = 488,
    IDS_USB_NO_WINUSB = 489,
    IDS_USB_UNPLUGGED = 490,

    // Why a file could not be read or written: the causes a user meets
    // most, in the program's own words (text/FileErrorText.h).
    IDS_REASON_ACCESS_DENIED = 600,
    IDS_REASON_READ_ONLY = 601,
    IDS_REASON_NO_SPACE = 602,
    IDS_REASON_NOT_FOUND = 603,
    IDS_REASON_EXISTS = 604,
    IDS_REASON_NAME_TOO_LONG = 605,
    IDS_REASON_DEVICE_ERROR = 606,
    // The window program's command line: the version, the usage, and what
    // is wrong with an argument.
    IDS_WINDOW_VERSION = 610,
    IDS_WINDOW_USAGE = 611,
    IDS_ARG_UNEXPECTED = 612,
    IDS_ARG_RATE = 613,
    IDS_ARG_RATE_ALONE = 614,
    IDS_ARG_NOT_A_FOLDER = 615,
    IDS_ARG_SEND = 616,
    IDS_ARG_SEND_ALONE = 617,
    IDS_ARG_NO_FOLDER = 618,

    // What the calculator has no link command for, done by pressing its
    // keys: run, delete, new folder, and the remote keyboard window.
    IDS_PROGRESS_KEYS = 700,
    IDS_PROGRESS_RUN = 701,
    IDS_PROGRESS_DELETE = 702,
    IDS_PROGRESS_NEW_FOLDER = 703,
    IDS_KEY_NOT_ACKNOWLEDGED = 704,
    IDS_CANNOT_TYPE = 706,
    IDS_REMOTE_NOT_ON_CALCULATOR = 707,
    IDS_RUN_NOT_PROGRAM = 708,
    IDS_RUN_DONE = 709,
    IDS_DELETE_CONFIRM = 710,
    IDS_DELETE_DONE = 711,
    IDS_DELETE_LEFT = 712,
    IDS_FOLDER_EXISTS = 713,
    IDS_FOLDER_MADE = 714,
    IDS_FOLDER_NOT_MADE = 715,
    IDS_FOLDER_HELPER_LEFT = 716,
    IDS_REMOTE_NOT_CONFIRMED = 717,
    IDS_NAME_EMPTY = 718,
    IDS_NAME_TOO_LONG = 719,
    IDS_NAME_FIRST_CHARACTER = 720,
    IDS_NAME_BAD_CHARACTER = 721,
    IDS_NAME_NOT_TYPEABLE = 722,
    IDS_RUN_TITLE = 723,
    IDS_RUN_PROMPT = 724,
    IDS_NEW_FOLDER_TITLE = 725,
    IDS_NEW_FOLDER_PROMPT = 726,
    IDS_REMOTE_RATE = 727,
    IDS_REMOTE_QUEUE = 728,
    IDS_REMOTE_QUEUE_EMPTY = 729,
    IDS_REMOTE_PAUSED = 730,
    IDS_NO_PROGRAM_SELECTED = 731,
    IDS_NO_VAR_TO_DELETE = 732,
};

// Texts fixed in the program, whatever the language.
inline constexpr const char* TEXT_NO_LANGUAGE_LIBRARY =
    "Unable to find any language library\r\nPlease check that the file English.dll\r\n"
    "is in the same directory of the application!";
inline constexpr const char* TEXT_KEY_CREATION_FAILED = "Errore creazione chiave!";
inline constexpr const char* TEXT_UNATTENDED_END = "Unattended end-condition returned by calculator!";
inline constexpr const char* TEXT_CLOSE_BUTTON = "Chiudi";

// The toolkit's own texts for a number field that does not validate.
inline constexpr const char* TEXT_ENTER_POSITIVE_INTEGER = "Please enter a positive integer.";
inline constexpr const char* TEXT_ENTER_INTEGER_BETWEEN = "Please enter an integer between %1 and %2.";
