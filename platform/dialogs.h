#pragma once

#include "platform/exceptions.h"

#include <QString>

#include <exception>
#include <functional>
#include <optional>
#include <utility>

class QWidget;

namespace radioset {

// The program file's name; captions of every message box.
QString ApplicationTitle();

// A plain modal box: the text, an OK button, no icon, captioned with the
// application title. Its nested event loop keeps timers and serial events
// flowing while it is open.
void ShowMessage(const QString& text);

// Every box of the program passes through this one seam. A sink set here is
// called instead of showing a box (tests record the texts, and may pump
// events to mimic the box's nested loop); an empty function restores boxes.
using MessageSink = std::function<void(const QString& caption, const QString& text)>;
// Returns the sink it replaces.
MessageSink SetMessageSink(MessageSink sink);

// The general error box: the error's text, with a full stop added when it
// does not end in one, in a plain box.
void ShowException(const std::exception& error);

// Runs an event handler so that no exception ever reaches Qt: an error that
// escapes it abandons the handler where it arose and is shown in the general
// error box; the program goes on.
template <class Handler>
void GuardHandler(Handler&& handler) noexcept
{
    try {
        std::forward<Handler>(handler)();
    } catch (const std::exception& error) {
        ShowException(error);
    } catch (...) {
        // Not an error of ours: shown with an empty text, like the runtime does.
        ShowException(Exception(QString()));
    }
}

// File dialogs with the original's filter notation, "desc|pattern|desc|...".
struct FileDialogRequest {
    enum Kind { Open, Save } kind = Open;
    QString filter;
};

// Returns the chosen file, or nothing when the operator cancels.
std::optional<QString> ExecuteFileDialog(QWidget* parent, const FileDialogRequest& request);

// The seam for file dialogs, like the one for message boxes.
using FileDialogSink = std::function<std::optional<QString>(const FileDialogRequest&)>;
FileDialogSink SetFileDialogSink(FileDialogSink sink);

// "*.ini|*.ini|All|*.*" in Qt's notation: "*.ini (*.ini);;All (*.*)".
QString QtFilterFromPairs(const QString& filter);

} // namespace radioset
