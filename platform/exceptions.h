#pragma once

#include <QByteArray>
#include <QString>

#include <exception>
#include <utility>

namespace radioset {

// An error an event handler may raise: the handler is abandoned where it
// arose and the text is shown in the general error box (see GuardHandler).
class Exception : public std::exception {
public:
    explicit Exception(QString message) : message_(std::move(message)), utf8_(message_.toUtf8()) {}

    const QString& message() const noexcept { return message_; }
    const char* what() const noexcept override { return utf8_.constData(); }

private:
    QString message_;
    QByteArray utf8_;
};

// A text that is not a number of the kind asked for.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// A file that cannot be read or written.
class EInOutError : public Exception {
public:
    using Exception::Exception;
};

// The serial port could not be opened or configured.
class ECommError : public Exception {
public:
    using Exception::Exception;
};

} // namespace radioset
