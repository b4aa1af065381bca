#pragma once

// Kelvo's logging categories, for what the engine passes over without telling the user: an item a walk
// could not read, an error a removal took as "already gone", how a tool ended. Debug messages are off
// unless asked for (QT_LOGGING_RULES="kelvo.*.debug=true"); warnings are on.

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcFiles) // kelvo.files: the file walker, listings and the remover
Q_DECLARE_LOGGING_CATEGORY(lcTrash) // kelvo.trash: moves to the Trash
Q_DECLARE_LOGGING_CATEGORY(lcTools) // kelvo.tools: the tool runner
