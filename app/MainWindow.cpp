#include "app/MainWindow.h"

#include "app/Fonts.h"
#include "files/Settings.h"

#include "app/ErrorGuard.h"
#include "app/Icons.h"
#include "app/MessageBoxes.h"
#include "app/NumberListModel.h"
#include "app/SpinEdit.h"
#include "app/StatusBar.h"
#include "app/Texts.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QSessionManager>
#include <QToolButton>
#include <QToolTip>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace tavrisk::app {
namespace {

constexpr int kClientWidth = 653;
constexpr int kClientHeight = 498;
constexpr int kToolBarHeight = 30;
constexpr int kOptionStripHeight = 28;
constexpr int kListWidth = 185;
constexpr int kListColumnWidth = 175;
// Edit5 starts at 440 and ends 5 pixels before the strip's right edge.
constexpr int kEdit5Left = 440;
constexpr int kEdit5RightGap = 5;

// A panel with a lowered outer and a raised inner bevel.
QFrame* BevelledPanel(QWidget* parent) {
    auto* panel = new QFrame(parent);
    panel->setFrameStyle(QFrame::Box | QFrame::Sunken);
    panel->setLineWidth(1);
    panel->setMidLineWidth(0);
    return panel;
}

// Keeps a child's right edge at a fixed distance from its parent's right
// edge, as the parent is resized; left, top and height stay.
class RightAnchor : public QObject {
public:
    RightAnchor(QWidget* child, int rightGap) : QObject(child), child_(child), rightGap_(rightGap) {
        child->parentWidget()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Resize && watched == child_->parentWidget()) {
            const QRect g = child_->geometry();
            const int width = std::max(0, child_->parentWidget()->width() - g.left() - rightGap_);
            child_->setGeometry(g.left(), g.top(), width, g.height());
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget* child_;
    int rightGap_;
};

}  // namespace

TForm1::TForm1(QWidget* parent) : QWidget(parent) {
    setWindowTitle(WindowCaption());
    BuildLayout();
    WireCommands();
    // The notification-area icon shows before FormCreate runs.
    SetUpTray();
    FormCreate();
}

TForm1::~TForm1() = default;

void TForm1::BuildLayout() {
    setWindowIcon(ProgramIcon());
    setFont(SongTi());
    resize(kClientWidth, kClientHeight);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(0, 0), size());
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }

    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);
    root->setSpacing(0);

    // Tool bar: nine flat buttons at a 56-pixel pitch.
    CoolBar1 = new QFrame(this);
    CoolBar1->setFixedHeight(kToolBarHeight);
    root->addWidget(CoolBar1);
    struct ButtonDesign {
        QToolButton** member;
        QString caption;
        QString hint;
        QString picture;
    };
    const ButtonDesign buttons[] = {
        {&SpeedButton4, QStringLiteral("导入"), QStringLiteral("导入关键字列表"), QStringLiteral("import")},
        {&SpeedButton2, QStringLiteral("搜索"), QStringLiteral("开始传真搜索"), QStringLiteral("search")},
        {&SpeedButton3, QStringLiteral("终止"), QStringLiteral("终止传真搜索"), QStringLiteral("stop")},
        {&SpeedButton5, QStringLiteral("保存"), QStringLiteral("保存搜索结果"), QStringLiteral("save")},
        {&SpeedButton8, QStringLiteral("进程"), QStringLiteral("保存搜索进程"), QStringLiteral("progress")},
        {&SpeedButton1, QStringLiteral("合并"), QStringLiteral("合并号码列表"), QStringLiteral("merge")},
        {&SpeedButton6, QStringLiteral("创建"), QStringLiteral("创建关键词"), QStringLiteral("create")},
        {&SpeedButton9, QStringLiteral("关于"), QStringLiteral("关于本软件"), QStringLiteral("about")},
        {&SpeedButton10, QStringLiteral("退出"), QStringLiteral("退出软件系统"), QStringLiteral("exit")},
    };
    int left = 2;
    for (const ButtonDesign& design : buttons) {
        auto* button = new QToolButton(CoolBar1);
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        button->setIcon(ButtonIcon(design.picture));
        button->setIconSize(QSize(16, 16));
        button->setText(design.caption);
        button->setToolTip(design.hint);
        button->setGeometry(left, 2, 55, 23);
        *design.member = button;
        left += 56;
    }

    // Option strip.
    Panel2 = BevelledPanel(this);
    Panel2->setFixedHeight(kOptionStripHeight);
    root->addWidget(Panel2);
    Label2 = new QLabel(QStringLiteral("搜索间隔[秒]："), Panel2);
    Label2->setGeometry(2, 8, 84, 12);
    SpinEdit1 = new SpinEdit(kMinInterval, kMaxInterval, kDefaultInterval, Panel2);
    SpinEdit1->setGeometry(88, 4, 49, 21);
    CheckBox1 = new QCheckBox(QStringLiteral("去重"), Panel2);
    CheckBox1->setLayoutDirection(Qt::RightToLeft);
    CheckBox1->setGeometry(144, 6, 41, 17);
    Label3 = new QLabel(QStringLiteral("页数："), Panel2);
    Label3->setGeometry(192, 8, 36, 12);
    SpinEdit2 = new SpinEdit(kMinPageLimit, kMaxPageLimit, kDefaultPageLimit, Panel2);
    SpinEdit2->setGeometry(232, 4, 57, 21);
    CheckBox2 = new QCheckBox(QStringLiteral("自动存盘"), Panel2);
    CheckBox2->setLayoutDirection(Qt::RightToLeft);
    CheckBox2->setGeometry(296, 6, 65, 17);
    Label1 = new QLabel(QStringLiteral("搜索文件："), Panel2);
    Label1->setGeometry(376, 8, 60, 12);
    Edit5 = new QLineEdit(Panel2);
    Edit5->setReadOnly(true);
    Edit5->setGeometry(kEdit5Left, 4, kClientWidth - kEdit5Left - kEdit5RightGap, 20);
    new RightAnchor(Edit5, kEdit5RightGap);

    // Work area: the result list on the left, the web view area in its double
    // sunken frame taking the rest.
    auto* work = new QHBoxLayout;
    work->setContentsMargins(0, 0, 0, 0);
    work->setSpacing(0);
    root->addLayout(work, 1);

    ListModel = new NumberListModel(this);
    // A table view keeps appends cheap however long the list grows: its rows
    // all have one fixed height, so nothing is laid out per row.
    ListView1 = new QTableView(this);
    ListView1->setModel(ListModel);
    ListView1->setShowGrid(false);
    ListView1->setWordWrap(false);
    ListView1->setCornerButtonEnabled(false);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    QHeaderView* rows = ListView1->verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setMinimumSectionSize(1);
    rows->setDefaultSectionSize(QFontMetrics(SongTi()).height() + 3);
    QHeaderView* columns = ListView1->horizontalHeader();
    columns->setStretchLastSection(false);
    columns->setSectionsMovable(false);
    columns->setHighlightSections(false);
    columns->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    columns->resizeSection(0, kListColumnWidth);
    ListView1->setFixedWidth(kListWidth);
    work->addWidget(ListView1);
    // The newest number is scrolled into view; the scroll range is brought up
    // to date first, as the view would only do that on its next pass.
    connect(ListModel, &NumberListModel::RowsAppended, ListView1, [this](int lastRow) {
        ListView1->doItemsLayout();
        ListView1->scrollTo(ListModel->index(lastRow, 0));
    });

    Panel10 = BevelledPanel(this);
    auto* outer = new QVBoxLayout(Panel10);
    outer->setContentsMargins(0, 0, 0, 0);
    Panel11 = BevelledPanel(Panel10);
    outer->addWidget(Panel11);
    // The web view is dropped into this layout when the first search needs it.
    auto* inner = new QVBoxLayout(Panel11);
    inner->setContentsMargins(0, 0, 0, 0);
    work->addWidget(Panel10, 1);

    StatusBar1 = new StatusBar(this);
    StatusBar1->SetPanelText(0, QStringLiteral("总数："));
    StatusBar1->SetPanelText(2, QStringLiteral("进程："));
    StatusBar1->SetPanelText(4, QStringLiteral("传真："));
    StatusBar1->SetPanelText(6, ContactPanelText());
    root->addWidget(StatusBar1);

    setTabOrder(Edit5, SpinEdit1);
    setTabOrder(SpinEdit1, CheckBox1);
    setTabOrder(CheckBox1, CheckBox2);
    setTabOrder(CheckBox2, SpinEdit2);
    setTabOrder(SpinEdit2, ListView1);
    ListView1->setFocus();
}

void TForm1::WireCommands() {
    connect(SpeedButton4, &QToolButton::clicked, this, &TForm1::SpeedButton4Click);
    connect(SpeedButton2, &QToolButton::clicked, this, &TForm1::N2Click);
    connect(SpeedButton3, &QToolButton::clicked, this, &TForm1::N3Click);
    connect(SpeedButton5, &QToolButton::clicked, this, &TForm1::N5Click);
    connect(SpeedButton8, &QToolButton::clicked, this, &TForm1::SpeedButton8Click);
    connect(SpeedButton1, &QToolButton::clicked, this, &TForm1::SpeedButton1Click);
    connect(SpeedButton6, &QToolButton::clicked, this, &TForm1::SpeedButton6Click);
    connect(SpeedButton9, &QToolButton::clicked, this, &TForm1::N15Click);
    connect(SpeedButton10, &QToolButton::clicked, this, &TForm1::SpeedButton10Click);
    if (auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        connect(application, &QGuiApplication::commitDataRequest, this, &TForm1::CommitDataRequest,
                Qt::DirectConnection);
    }
}

void TForm1::FormCreate() {
    Guarded(this, [&] {
        QString folder = QCoreApplication::applicationDirPath();
        if (!folder.endsWith(QLatin1Char('/'))) {
            folder += QLatin1Char('/');
        }
        ExeDir = QsToPath(folder);
        PageLines.Clear();
        KeywordList.Clear();

        // Tool bar hints are shown on pure green.
        QPalette tips = QToolTip::palette();
        tips.setColor(QPalette::All, QPalette::ToolTipBase, QColor(0, 255, 0));
        tips.setColor(QPalette::All, QPalette::ToolTipText, QColor(0, 0, 0));
        QToolTip::setPalette(tips);

        LoadSettings();
    });
}

void TForm1::FormCloseQuery(bool& CanClose) {
    Guarded(this, [&] {
        const BoxAnswer answer =
            TheBoxes().Confirmation(this, QStringLiteral("确认退出Tavrisk吗?"), {BoxButton::Yes, BoxButton::No});
        // Only "No" (or Esc) keeps the program; its close box lets it end.
        if (answer == BoxAnswer::No) {
            CanClose = false;
        }
    });
}

void TForm1::SpeedButton10Click() {
    Guarded(this, [&] { close(); });
}

void TForm1::closeEvent(QCloseEvent* event) {
    bool canClose = true;
    if (!sessionEndConfirmed_) {
        FormCloseQuery(canClose);
    }
    if (canClose) {
        event->accept();
    } else {
        event->ignore();
    }
}

void TForm1::CommitDataRequest(QSessionManager& manager) {
    // The session is ending (log-off or shut-down): the same question as any
    // close. Where the session allows no question, it simply ends.
    if (!manager.allowsInteraction()) {
        return;
    }
    bool canClose = true;
    FormCloseQuery(canClose);
    if (canClose) {
        sessionEndConfirmed_ = true;
        manager.release();
    } else {
        manager.cancel();
    }
}

}  // namespace tavrisk::app
