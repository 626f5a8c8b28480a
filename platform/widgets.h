#pragma once

#include <QComboBox>
#include <QPlainTextEdit>
#include <QWidget>

class QLabel;
class QLineEdit;
class QToolButton;

namespace radioset {

// An editable drop-down list that completes typed text from its items and
// tells operator changes apart from selections made by code: Change() is
// emitted when the operator picks an item or types, never for
// setCurrentIndex() or setEditText() called by the program.
class ComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit ComboBox(QWidget* parent = nullptr);

signals:
    void Change();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onTextEdited(const QString& text);
    bool deleting_ = false;
};

// A spinner bound to an edit, in the manner of a separate up-down control:
// its arrows (and the arrow keys in the edit) step the number in the edit
// within [Min, Max] without wrapping. A step starts from the edit's number
// when it holds one, otherwise from the spinner's own position.
class UpDown : public QWidget {
    Q_OBJECT
public:
    UpDown(QWidget* parent, QLineEdit* associate, int min, int max, int position);

    int Position() const { return position_; }
    int Min() const { return min_; }
    int Max() const { return max_; }
    QLineEdit* Associate() const { return associate_; }

    void StepBy(int delta);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QLineEdit* associate_;
    QToolButton* up_;
    QToolButton* down_;
    int min_;
    int max_;
    int position_;
};

// A multi-line text box holding at most MaxLength characters, a limit that
// holds for text the program adds as well as for typing and pasting.
class Memo : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit Memo(QWidget* parent = nullptr, int maxLength = 0);

    int MaxLength() const { return maxLength_; }
    int Length() const;

    // What happens to a line that does not fit under the limit.
    enum class Overflow {
        Cut,        // cut off at the limit, as typing is
        DropOldest, // whole lines leave at the top: a log keeps its newest lines
    };

    // Adds a line at the end.
    void AppendLine(const QString& line, Overflow overflow = Overflow::Cut);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    int room() const;
    int maxLength_;
};

} // namespace radioset

namespace radioset {

// Labels size themselves to their caption, as the designer's labels do, so a
// longer translation is not clipped; they keep their place and height.
void SetLabelCaption(QLabel* label, const QString& caption);

// A status bar of fixed-width panels, numbered from 0 at the left.
class StatusBar : public QWidget {
    Q_OBJECT
public:
    StatusBar(QWidget* parent, std::initializer_list<int> panelWidths);

    int PanelCount() const { return static_cast<int>(panels_.size()); }
    QString PanelText(int panel) const;
    void SetPanelText(int panel, const QString& text);

private:
    QList<QLabel*> panels_;
};

} // namespace radioset
