#include "platform/widgets.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolButton>

#include <algorithm>
#include <climits>
#include <utility>

namespace radioset {

// ---------------------------------------------------------------- ComboBox

ComboBox::ComboBox(QWidget* parent) : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr); // completion is ours, so that it selects as it completes
    connect(lineEdit(), &QLineEdit::textEdited, this, &ComboBox::onTextEdited);
    connect(this, &QComboBox::activated, this, &ComboBox::Change);
    lineEdit()->installEventFilter(this);
}

bool ComboBox::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lineEdit() && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        deleting_ = key == Qt::Key_Backspace || key == Qt::Key_Delete;
    }
    return QComboBox::eventFilter(watched, event);
}

void ComboBox::onTextEdited(const QString& text)
{
    // Deleting must not complete again what the operator just removed.
    const bool deleting = std::exchange(deleting_, false);

    int match = -1;
    if (!text.isEmpty()) {
        for (int i = 0; i < count(); ++i) {
            const QString item = itemText(i);
            if (deleting ? item.compare(text, Qt::CaseInsensitive) == 0 : item.startsWith(text, Qt::CaseInsensitive)) {
                match = i;
                break;
            }
        }
    }
    {
        const QSignalBlocker block(this);
        setCurrentIndex(match);
        if (match < 0 || deleting)
            setEditText(text);
    }
    if (match >= 0 && !deleting) {
        lineEdit()->setSelection(static_cast<int>(text.size()), static_cast<int>(itemText(match).size() - text.size()));
    }
    emit Change();
}

// ------------------------------------------------------------------ UpDown

UpDown::UpDown(QWidget* parent, QLineEdit* associate, int min, int max, int position)
    : QWidget(parent), associate_(associate), up_(new QToolButton(this)), down_(new QToolButton(this)), min_(min),
      max_(max), position_(position)
{
    up_->setArrowType(Qt::UpArrow);
    down_->setArrowType(Qt::DownArrow);
    for (QToolButton* button : {up_, down_}) {
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
    }
    connect(up_, &QToolButton::clicked, this, [this] { StepBy(+1); });
    connect(down_, &QToolButton::clicked, this, [this] { StepBy(-1); });
    if (associate_)
        associate_->installEventFilter(this);
}

void UpDown::StepBy(int delta)
{
    int base = position_;
    if (associate_) {
        bool ok = false;
        const int typed = associate_->text().trimmed().toInt(&ok);
        if (ok)
            base = std::clamp(typed, min_, max_);
    }
    position_ = std::clamp(base + delta, min_, max_);
    if (associate_)
        associate_->setText(QString::number(position_));
}

bool UpDown::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == associate_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            StepBy(key == Qt::Key_Up ? +1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void UpDown::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const int half = height() / 2;
    up_->setGeometry(0, 0, width(), half);
    down_->setGeometry(0, half, width(), height() - half);
}

// -------------------------------------------------------------------- Memo

Memo::Memo(QWidget* parent, int maxLength) : QPlainTextEdit(parent), maxLength_(maxLength)
{
}

int Memo::Length() const
{
    // Characters of the text, one per line break.
    return std::max(0, document()->characterCount() - 1);
}

int Memo::room() const
{
    return maxLength_ > 0 ? std::max(0, maxLength_ - Length()) : INT_MAX;
}

void Memo::AppendLine(const QString& line, Overflow overflow)
{
    // Lines the program adds are not the operator's edits. Kept in the undo
    // history, every line added and dropped would stay there for good, and a
    // receive test left running would grow it without end.
    struct WithoutUndo {
        QTextDocument* document;
        bool was;
        explicit WithoutUndo(QTextDocument* d) : document(d), was(d->isUndoRedoEnabled()) { d->setUndoRedoEnabled(false); }
        ~WithoutUndo() { document->setUndoRedoEnabled(was); }
        WithoutUndo(const WithoutUndo&) = delete;
        WithoutUndo& operator=(const WithoutUndo&) = delete;
    } withoutUndo(document());
    if (overflow == Overflow::DropOldest && maxLength_ > 0) {
        const int excess = Length() + 1 + static_cast<int>(line.size()) - maxLength_;
        if (excess > 0) {
            QTextCursor cursor(document());
            const QTextBlock last = document()->findBlock(std::min(excess, Length()) - 1);
            cursor.setPosition(std::min(last.position() + last.length(), Length()), QTextCursor::KeepAnchor);
            cursor.removeSelectedText();
            if (Length() > 0 && Length() + 1 + line.size() > maxLength_)
                clear(); // what is left still does not make room
        }
        if (line.size() > maxLength_) {
            AppendLine(line.right(maxLength_));
            return;
        }
    }
    QString text = Length() > 0 ? QStringLiteral("\n") + line : line;
    const int space = room();
    if (space <= 0)
        return;
    if (text.size() > space)
        text.truncate(space);
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(text);
    moveCursor(QTextCursor::End);
    ensureCursorVisible();
}

void Memo::keyPressEvent(QKeyEvent* event)
{
    const QString typed = event->text();
    const bool inserts = !typed.isEmpty() && (typed.front().isPrint() || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter);
    if (inserts && !(event->modifiers() & Qt::ControlModifier) && maxLength_ > 0) {
        const int selected = static_cast<int>(textCursor().selectedText().size());
        if (room() + selected < 1)
            return; // full: the key is refused like any edit box refuses it
    }
    QPlainTextEdit::keyPressEvent(event);
}

void Memo::insertFromMimeData(const QMimeData* source)
{
    if (maxLength_ <= 0 || !source->hasText()) {
        QPlainTextEdit::insertFromMimeData(source);
        return;
    }
    const int space = room() + static_cast<int>(textCursor().selectedText().size());
    QString text = source->text();
    if (text.size() > space)
        text.truncate(std::max(0, space));
    textCursor().insertText(text);
}

void SetLabelCaption(QLabel* label, const QString& caption)
{
    label->setText(caption);
    label->resize(label->sizeHint().width(), label->height());
}

// --------------------------------------------------------------- StatusBar

StatusBar::StatusBar(QWidget* parent, std::initializer_list<int> panelWidths) : QWidget(parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 2, 0, 0);
    layout->setSpacing(2);
    int index = 0;
    for (int width : panelWidths) {
        auto* panel = new QLabel(this);
        panel->setObjectName(QStringLiteral("Panel%1").arg(index++));
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        panel->setFixedWidth(width - 2);
        panel->setTextFormat(Qt::PlainText);
        layout->addWidget(panel);
        panels_.append(panel);
    }
    layout->addStretch(1);
}

QString StatusBar::PanelText(int panel) const
{
    return panels_.at(panel)->text();
}

void StatusBar::SetPanelText(int panel, const QString& text)
{
    panels_.at(panel)->setText(text);
}

} // namespace radioset
