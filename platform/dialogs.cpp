#include "platform/dialogs.h"

#include "platform/exceptions.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include <utility>

namespace radioset {

namespace {

MessageSink& messageSink()
{
    static MessageSink sink;
    return sink;
}

FileDialogSink& fileDialogSink()
{
    static FileDialogSink sink;
    return sink;
}

} // namespace

QString ApplicationTitle()
{
    const QStringList args = QCoreApplication::arguments();
    if (!args.isEmpty())
        return QFileInfo(args.first()).completeBaseName();
    return QCoreApplication::applicationName();
}

void ShowMessage(const QString& text)
{
    if (messageSink()) {
        messageSink()(ApplicationTitle(), text);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, ApplicationTitle(), text, QMessageBox::Ok);
    box.exec();
}

MessageSink SetMessageSink(MessageSink sink)
{
    return std::exchange(messageSink(), std::move(sink));
}

void ShowException(const std::exception& error)
{
    QString text;
    if (const auto* own = dynamic_cast<const Exception*>(&error))
        text = own->message();
    else
        text = QString::fromUtf8(error.what());
    // The runtime's error box closes a sentence that lacks its full stop.
    if (!text.isEmpty() && text.back() > u'.')
        text += u'.';
    ShowMessage(text);
}

std::optional<QString> ExecuteFileDialog(QWidget* parent, const FileDialogRequest& request)
{
    if (fileDialogSink())
        return fileDialogSink()(request);
    // The original dialogs neither ask before overwriting nor insist that an
    // opened file exists (loading a missing plan simply gives empty channels).
    QFileDialog dialog(parent);
    dialog.setNameFilters(QtFilterFromPairs(request.filter).split(QStringLiteral(";;")));
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(request.kind == FileDialogRequest::Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().front();
}

FileDialogSink SetFileDialogSink(FileDialogSink sink)
{
    return std::exchange(fileDialogSink(), std::move(sink));
}

QString QtFilterFromPairs(const QString& filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(u';', u' ');
        entries << QStringLiteral("%1 (%2)").arg(parts[i], patterns);
    }
    return entries.join(QStringLiteral(";;"));
}

} // namespace radioset
