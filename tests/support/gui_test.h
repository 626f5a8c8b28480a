#pragma once

#include "platform/dialogs.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace radioset::test {

// Records every message box instead of showing it, for the lifetime of the
// object; boxes shown before it existed are not seen.
class MessageRecorder {
public:
    MessageRecorder();
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    const QStringList& texts() const { return texts_; }
    const QStringList& captions() const { return captions_; }
    void clear()
    {
        texts_.clear();
        captions_.clear();
    }

private:
    QStringList texts_;
    QStringList captions_;
    MessageSink previous_;
};

} // namespace radioset::test
