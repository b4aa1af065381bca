#include "vocabulary/KelvoLog.h"

// QtWarningMsg: warnings and worse are shown, debug and info messages are not.
Q_LOGGING_CATEGORY(lcFiles, "kelvo.files", QtWarningMsg)
Q_LOGGING_CATEGORY(lcTrash, "kelvo.trash", QtWarningMsg)
Q_LOGGING_CATEGORY(lcTools, "kelvo.tools", QtWarningMsg)
