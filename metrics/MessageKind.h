#pragma once

#include <QString>

namespace quindle {

// What a message box is about. The metrics count messages by kind: a message's text may
// name a folder or a file, and the kinds stay few and fixed.
enum class MessageKind {
    NoPrinter,
    PrinterUnavailable,
    Watchdog,
    RestartRefused,
    EmptyCategory,
    MissingFolder,
    Other,
};
inline constexpr int messageKindCount = static_cast<int>(MessageKind::Other) + 1;

MessageKind messageKindOf(const QString& text);

// The kind as a metric's label value: "no_printer", "watchdog" …
QString messageKindName(MessageKind kind);

} // namespace quindle
