// The form description: every control of the main window with its design-time
// geometry, caption, items, state and tab order. Captions here are the
// designer's; the language switch replaces most of them right after.

#include "shell/form1.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>

#include <algorithm>
#include <vector>

// The banner is compiled into this library; a static library's resources are
// registered by hand, and only from the global namespace.
static void registerResources()
{
    Q_INIT_RESOURCE(resources);
}

namespace radioset {

namespace {

constexpr char kTabOrder[] = "TabOrder";

template <class W>
W* place(QWidget* parent, const char* name, QRect geometry, int tab = -1)
{
    auto* widget = new W(parent);
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(geometry);
    if (tab >= 0)
        widget->setProperty(kTabOrder, tab);
    return widget;
}

QLabel* label(QWidget* parent, const char* name, QRect geometry, const QString& caption)
{
    auto* widget = place<QLabel>(parent, name, geometry);
    widget->setTextFormat(Qt::PlainText);
    widget->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    widget->setWordWrap(false);
    SetLabelCaption(widget, caption);
    return widget;
}

QGroupBox* group(QWidget* parent, const char* name, QRect geometry, const QString& caption, int tab)
{
    auto* widget = place<QGroupBox>(parent, name, geometry, tab);
    widget->setTitle(caption);
    return widget;
}

QPushButton* button(QWidget* parent, const char* name, QRect geometry, const QString& caption, int tab)
{
    auto* widget = place<QPushButton>(parent, name, geometry, tab);
    widget->setText(caption);
    widget->setAutoDefault(false);
    return widget;
}

ComboBox* combo(QWidget* parent, const char* name, QRect geometry, const QStringList& items, int selected, int tab)
{
    auto* widget = place<ComboBox>(parent, name, geometry, tab);
    widget->addItems(items);
    widget->setCurrentIndex(selected); // -1: no item and an empty text
    if (selected < 0)
        widget->setEditText(QString());
    return widget;
}

QLineEdit* edit(QWidget* parent, const char* name, QRect geometry, const QString& text, int maxLength, int tab)
{
    auto* widget = place<QLineEdit>(parent, name, geometry, tab);
    if (maxLength > 0)
        widget->setMaxLength(maxLength);
    widget->setText(text);
    return widget;
}

UpDown* upDown(QWidget* parent, const char* name, QRect geometry, QLineEdit* associate, int tab)
{
    auto* widget = new UpDown(parent, associate, 1, 255, 1);
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(geometry);
    widget->setProperty(kTabOrder, tab);
    return widget;
}

// The keyboard walks the controls in the designer's tab order: depth first,
// siblings by their tab number, pages of a page control in page order.
void collectTabStops(QWidget* widget, std::vector<QWidget*>& stops)
{
    if (auto* pages = qobject_cast<QTabWidget*>(widget)) {
        for (int i = 0; i < pages->count(); ++i)
            collectTabStops(pages->widget(i), stops);
        return;
    }
    std::vector<QWidget*> children;
    for (QObject* child : widget->children()) {
        auto* w = qobject_cast<QWidget*>(child);
        if (w && w->property(kTabOrder).isValid())
            children.push_back(w);
    }
    std::stable_sort(children.begin(), children.end(), [](QWidget* a, QWidget* b) {
        return a->property(kTabOrder).toInt() < b->property(kTabOrder).toInt();
    });
    for (QWidget* child : children) {
        if (child->focusPolicy() & Qt::TabFocus)
            stops.push_back(child);
        collectTabStops(child, stops);
    }
}

} // namespace

void TForm1::CreateControls()
{
    registerResources();
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("电台设置软件"));

    QFont font(QStringLiteral("Microsoft Sans Serif"));
    // The designer's face where it exists; otherwise WenQuanYi Micro Hei,
    // which is compact enough for the designed geometry and covers every
    // Chinese text of the window.
    font.setFamilies({QStringLiteral("Microsoft Sans Serif"), QStringLiteral("WenQuanYi Micro Hei"),
                      QStringLiteral("DejaVu Sans")});
    font.setPixelSize(11);
    setFont(font);

    ClientArea = new QWidget(this);
    ClientArea->setObjectName(QStringLiteral("ClientArea"));
    setCentralWidget(ClientArea);
    QWidget* form = ClientArea;

    Image1 = place<QLabel>(form, "Image1", {6, 0, 689, 105});
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Image1->setPixmap(QPixmap(QStringLiteral(":/radioset/banner.jpg")));
    Image1->setScaledContents(false);

    // --- serial settings -------------------------------------------------
    GroupBox1 = group(form, "GroupBox1", {8, 77, 177, 185}, QStringLiteral("串口设置"), 0);
    Label1 = label(GroupBox1, "Label1", {16, 32, 45, 13}, QStringLiteral("串   口："));
    Label2 = label(GroupBox1, "Label2", {14, 56, 48, 13}, QStringLiteral("波特率："));
    Label3 = label(GroupBox1, "Label3", {14, 80, 48, 13}, QStringLiteral("数据位："));
    Label4 = label(GroupBox1, "Label4", {14, 104, 48, 13}, QStringLiteral("校验位："));
    Label5 = label(GroupBox1, "Label5", {14, 128, 48, 13}, QStringLiteral("停止位："));
    ComboBox1 = combo(GroupBox1, "ComboBox1", {72, 24, 81, 21}, {}, -1, 0);
    ComboBox2 = combo(GroupBox1, "ComboBox2", {72, 48, 81, 21},
                      {"1200", "2400", "4800", "9600", "19200", "38400"}, 3, 1);
    ComboBox3 = combo(GroupBox1, "ComboBox3", {72, 72, 81, 21}, {"7", "8", "9"}, 1, 2);
    ComboBox4 = combo(GroupBox1, "ComboBox4", {72, 96, 81, 21}, {"None", "Odd", "Even"}, 0, 3);
    ComboBox5 = combo(GroupBox1, "ComboBox5", {72, 120, 81, 21}, {"1", "2"}, 0, 4);
    Button1 = button(GroupBox1, "Button1", {64, 152, 75, 25}, QStringLiteral("打开"), 5);

    // --- pages -----------------------------------------------------------
    PageControl1 = place<QTabWidget>(form, "PageControl1", {191, 78, 505, 477}, 1);
    TabSheet1 = new QWidget;
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    TabSheet2 = new QWidget;
    TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
    TabSheet3 = new QWidget;
    TabSheet3->setObjectName(QStringLiteral("TabSheet3"));
    PageControl1->addTab(TabSheet1, QStringLiteral("参数设置"));
    PageControl1->addTab(TabSheet2, QStringLiteral("频点设置"));
    PageControl1->addTab(TabSheet3, QStringLiteral("出厂设置"));
    PageControl1->setCurrentWidget(TabSheet1);

    StatusBar1 = new StatusBar(form, {100, 200, 200, 50});
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setGeometry(0, 556, 701, 19);

    GroupBox13 = group(form, "GroupBox13", {8, 282, 177, 271}, QStringLiteral("检测电台"), 3);

    // --- parameter page --------------------------------------------------
    const QStringList rates{"1200bps", "2400bps", "4800bps", "9600bps", "19200bps", "38400bps"};
    GroupBox2 = group(TabSheet1, "GroupBox2", {16, 8, 457, 65}, QStringLiteral("串口速率"), 0);
    GroupBox3 = group(TabSheet1, "GroupBox3", {16, 96, 457, 65}, QStringLiteral("空中速率"), 1);
    GroupBox4 = group(TabSheet1, "GroupBox4", {16, 184, 457, 65}, QStringLiteral("工作信道"), 2);
    GroupBox12 = group(TabSheet1, "GroupBox12", {16, 264, 457, 65}, QStringLiteral("功率等级"), 4);
    GroupBox8 = group(TabSheet1, "GroupBox8", {16, 344, 457, 89}, QStringLiteral("工作模式"), 3);

    ComboBox6 = combo(GroupBox2, "ComboBox6", {96, 29, 105, 21}, rates, -1, 0);
    Button3 = button(GroupBox2, "Button3", {16, 25, 75, 25}, QStringLiteral("读取"), 1);
    Button3->setVisible(false);
    Button4 = button(GroupBox2, "Button4", {352, 25, 75, 25}, QStringLiteral("设置"), 2);
    ComboBox8 = combo(GroupBox2, "ComboBox8", {232, 28, 105, 21}, {"None", "Odd", "Even"}, -1, 3);

    ComboBox7 = combo(GroupBox3, "ComboBox7", {184, 28, 137, 21}, rates, -1, 0);
    Button5 = button(GroupBox3, "Button5", {72, 24, 75, 25}, QStringLiteral("读取"), 1);
    Button6 = button(GroupBox3, "Button6", {352, 24, 75, 25}, QStringLiteral("设置"), 2);

    Button7 = button(GroupBox4, "Button7", {72, 25, 75, 25}, QStringLiteral("读取"), 0);
    Button8 = button(GroupBox4, "Button8", {352, 25, 75, 25}, QStringLiteral("设置"), 1);
    Edit1 = edit(GroupBox4, "Edit1", {184, 25, 121, 21}, QStringLiteral("1"), 0, 2);
    UpDown1 = upDown(GroupBox4, "UpDown1", {305, 25, 16, 21}, Edit1, 3);

    Button23 = button(GroupBox12, "Button23", {72, 25, 75, 25}, QStringLiteral("读取"), 0);
    Button24 = button(GroupBox12, "Button24", {352, 25, 75, 25}, QStringLiteral("设置"), 1);
    ComboBox10 = combo(GroupBox12, "ComboBox10", {184, 28, 137, 21}, {"0DB", "5DB", "10DB", "15DB"}, -1, 2);

    Label42 = label(GroupBox8, "Label42", {112, 58, 36, 13}, QStringLiteral("帧头："));
    Label43 = label(GroupBox8, "Label43", {288, 59, 46, 13}, QStringLiteral("（HEX）"));
    Button11 = button(GroupBox8, "Button11", {8, 9, 75, 25}, QStringLiteral("读取"), 0);
    Button11->setVisible(false);
    Button12 = button(GroupBox8, "Button12", {352, 17, 75, 25}, QStringLiteral("设置"), 1);
    ComboBox9 = combo(GroupBox8, "ComboBox9", {184, 23, 137, 21},
                      {QStringLiteral("透明转发模式"), QStringLiteral("帧头检测模式")}, -1, 2);
    Edit3 = edit(GroupBox8, "Edit3", {184, 53, 97, 21}, QString(), 2, 3);
    Edit3->setEnabled(false);
    Button25 = button(GroupBox8, "Button25", {352, 52, 75, 25}, QStringLiteral("设置"), 4);
    Button25->setEnabled(false);

    // --- frequency page: two boxes of sixteen channels each --------------
    struct ChannelBox {
        QGroupBox*& box;
        const char* name;
        int left;
        const char* caption;
        int tab;
        int first;
        QLabel*& txHeading;
        const char* txHeadingName;
        QLabel*& rxHeading;
        const char* rxHeadingName;
        QPushButton*& read;
        const char* readName;
        QPushButton*& set;
        const char* setName;
    };
    const ChannelBox channelBoxes[] = {
        {GroupBox5, "GroupBox5", 8, "1-16频点设置（单位：MHZ）", 0, 1, Label6, "Label6", Label23, "Label23", Button13,
         "Button13", Button14, "Button14"},
        {GroupBox6, "GroupBox6", 256, "17-32频点设置（单位：MHZ）", 1, 17, Label24, "Label24", Label41, "Label41",
         Button15, "Button15", Button16, "Button16"},
    };
    for (const ChannelBox& half : channelBoxes) {
        half.box = group(TabSheet2, half.name, {half.left, 0, 233, 449}, QString::fromUtf8(half.caption), half.tab);
        half.txHeading = label(half.box, half.txHeadingName, {56, 16, 48, 13}, QStringLiteral("发送频点"));
        half.rxHeading = label(half.box, half.rxHeadingName, {136, 16, 48, 13}, QStringLiteral("接收频点"));
        for (int j = 1; j <= 16; ++j) {
            const int k = half.first + j - 1;
            const int rowLabel = k <= 16 ? k + 6 : k + 8;
            const QByteArray labelName = "Label" + QByteArray::number(rowLabel);
            label(half.box, labelName.constData(), {16, 36 + 24 * (j - 1), k <= 9 ? 18 : 24, 13},
                  QString::number(k) + QStringLiteral("："));
            const QByteArray txName = "TxEdit" + QByteArray::number(k);
            const QByteArray rxName = "RxEdit" + QByteArray::number(k);
            edit(half.box, txName.constData(), {48, 32 + 24 * (j - 1), 73, 21}, QString(), 9, j - 1);
            edit(half.box, rxName.constData(), {136, 32 + 24 * (j - 1), 73, 21}, QString(), 9, 15 + j);
        }
        half.read = button(half.box, half.readName, {32, 418, 75, 25}, QStringLiteral("读取"), 32);
        half.set = button(half.box, half.setName, {136, 418, 75, 25}, QStringLiteral("设置"), 33);
    }

    // --- factory page ----------------------------------------------------
    GroupBox7 = group(TabSheet3, "GroupBox7", {8, 8, 481, 105}, QStringLiteral("测试模式"), 0);
    Button9 = button(GroupBox7, "Button9", {40, 24, 75, 25}, QStringLiteral("载波测试"), 0);
    Button10 = button(GroupBox7, "Button10", {168, 24, 75, 25}, QStringLiteral("01码测试"), 1);
    Button17 = button(GroupBox7, "Button17", {40, 64, 75, 25}, QStringLiteral("接收测试"), 2);
    Button18 = button(GroupBox7, "Button18", {352, 32, 75, 41}, QStringLiteral("停止测试"), 3);
    Edit2 = edit(GroupBox7, "Edit2", {168, 67, 81, 21}, QString(), 0, 4);
    Edit2->setVisible(false);
    GroupBox9 = group(TabSheet3, "GroupBox9", {8, 120, 481, 161}, QStringLiteral("频率调整"), 1);
    GroupBox10 = group(GroupBox9, "GroupBox10", {112, 16, 249, 65}, QStringLiteral("0.1KHZ步进调整"), 0);
    Button19 = button(GroupBox10, "Button19", {24, 24, 75, 25}, QStringLiteral("增加"), 0);
    Button20 = button(GroupBox10, "Button20", {144, 24, 75, 25}, QStringLiteral("减少"), 1);
    GroupBox11 = group(GroupBox9, "GroupBox11", {112, 88, 249, 65}, QStringLiteral("1KHZ步进调整"), 1);
    Button21 = button(GroupBox11, "Button21", {24, 24, 75, 25}, QStringLiteral("增加"), 0);
    Button22 = button(GroupBox11, "Button22", {144, 24, 75, 25}, QStringLiteral("减少"), 1);
    GroupBox14 = group(TabSheet3, "GroupBox14", {8, 288, 481, 65}, QStringLiteral("工作信道"), 2);
    Button26 = button(GroupBox14, "Button26", {72, 25, 75, 25}, QStringLiteral("读取"), 0);
    Button27 = button(GroupBox14, "Button27", {352, 25, 75, 25}, QStringLiteral("设置"), 1);
    Edit4 = edit(GroupBox14, "Edit4", {184, 25, 121, 21}, QStringLiteral("1"), 0, 2);
    UpDown2 = upDown(GroupBox14, "UpDown2", {305, 25, 16, 21}, Edit4, 3);

    // --- radio detection -------------------------------------------------
    Button2 = button(GroupBox13, "Button2", {48, 24, 75, 49}, QStringLiteral("检测电台"), 0);
    Memo1 = new Memo(GroupBox13, 5000);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(8, 80, 161, 185);
    Memo1->setProperty(kTabOrder, 1);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Memo1->setTabChangesFocus(true);

    // --- menu ------------------------------------------------------------
    MainMenu1 = new QMenuBar(this);
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    setMenuBar(MainMenu1);
    auto menu = [this](const char* name, const QString& caption) {
        QMenu* m = MainMenu1->addMenu(caption);
        m->setObjectName(QString::fromLatin1(name));
        m->menuAction()->setObjectName(QString::fromLatin1(name) + QStringLiteral("Item"));
        return m;
    };
    auto item = [](QMenu* parent, const char* name, const QString& caption, bool checkable) {
        QAction* a = parent->addAction(caption);
        a->setObjectName(QString::fromLatin1(name));
        a->setCheckable(checkable);
        return a;
    };
    N1 = menu("N1", QStringLiteral("语言"));
    N2 = item(N1, "N2", QStringLiteral("简体中文"), true);
    N3 = item(N1, "N3", QStringLiteral("繁體中文"), true);
    English1 = item(N1, "English1", QStringLiteral("English"), true);
    English1->setChecked(true);
    N4 = menu("N4", QStringLiteral("频点参数"));
    N5 = item(N4, "N5", QStringLiteral("保存配置..."), false);
    N6 = item(N4, "N6", QStringLiteral("读取配置..."), false);
    N7 = menu("N7", QStringLiteral("关于"));
    N8 = item(N7, "N8", QStringLiteral("关于..."), false);

    // --- non-visual components -------------------------------------------
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(100);
    Timer2->start();

    ZelCommDevice1 = new TZelCommDevice(this);
    ZelCommDevice1->setObjectName(QStringLiteral("ZelCommDevice1"));
    ZelCommDevice1->SetPortNo(1);
    ZelCommDevice1->SetBaud(br9600);
    ZelCommDevice1->SetByteSize(8);

    SaveDialog1 = {FileDialogRequest::Save, QStringLiteral("*.ini|*.ini")};
    OpenDialog1 = {FileDialogRequest::Open, QStringLiteral("*.ini|*.ini|所有文件|*.*")};

    // --- window ----------------------------------------------------------
    std::vector<QWidget*> stops;
    collectTabStops(form, stops);
    for (std::size_t i = 1; i < stops.size(); ++i)
        QWidget::setTabOrder(stops[i - 1], stops[i]);

    move(320, 118);
    resize(701, 575 + MainMenu1->sizeHint().height());
}

} // namespace radioset
