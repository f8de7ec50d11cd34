#pragma once
// Where the local stand-in of the DDE service lives: one socket per service and topic, in a
// folder that only the user can enter.
#include <QString>

namespace pictarix {

// The service name: the program's file name without folder, cut before its first ".".
QString MacroServiceName(const QString& programPath);

// The socket's name in its folder, "<service>.<topic>" lower-cased (the topic is compared without
// regard to case, and so the two names are spelt one way only).
QString MacroSocketName(const QString& service, const QString& topic);

// The user's private folder for the socket: $XDG_RUNTIME_DIR/pictarix when XDG_RUNTIME_DIR is set
// (an absolute path to a folder the user owns), else "pictarix-<uid>" in the temporary folder.
// Created with mode 0700 when missing; one that exists must be a folder (not a link) owned by the
// user and closed to group and others. Empty on failure, with the reason in `error`.
QString MacroSocketFolder(QString& error);

}  // namespace pictarix
