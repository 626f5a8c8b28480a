#include "support/gui_test.h"

namespace radioset::test {

MessageRecorder::MessageRecorder()
{
    previous_ = SetMessageSink([this](const QString& caption, const QString& text) {
        captions_ << caption;
        texts_ << text;
    });
}

MessageRecorder::~MessageRecorder()
{
    SetMessageSink(previous_);
}

} // namespace radioset::test
