// The editor window's construction: controls, their places, menus and connections.

#include "app/frmMain.h"

#include "app/AccessibleNames.h"
#include "app/FontFit.h"
#include "app/HighlightShape.h"
#include "app/IndicatorImages.h"
#include "app/Modal.h"
#include "app/Spinner.h"
#include "app/WidgetMaking.h"
#include "flows/FlowHost.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>

using namespace WidgetMaking;

namespace {
constexpr int EditorClientWidth = 425;
constexpr int EditorClientHeight = 552;

// A display-only number box beside a spinner.
QLineEdit* makeNumberBox(QWidget* parent, const char* name, QRect r)
{
    auto* t = named(new QLineEdit(parent), name);
    t->setGeometry(r);
    t->setReadOnly(true);
    t->setAlignment(Qt::AlignCenter);
    t->setFocusPolicy(Qt::NoFocus);
    return t;
}

Spinner* makeSpinner(QWidget* parent, const char* name, int min, int max, QRect r)
{
    auto* s = named(new Spinner(min, max, parent), name);
    s->setGeometry(r);
    return s;
}

QRadioButton* makeOption(QWidget* parent, const char* name, const QString& text, QRect r)
{
    auto* o = named(new QRadioButton(text, parent), name);
    o->setGeometry(r);
    return o;
}

// The etched border of a group panel: four dark lines and four light ones.
void makeEtchedBorder(QWidget* parent, QRect r, const char* const names[8])
{
    const QRect lines[8] = {
        {r.left(), r.top(), r.width(), 1},
        {r.left(), r.bottom(), r.width(), 1},
        {r.left(), r.top(), 1, r.height()},
        {r.right(), r.top(), 1, r.height()},
        {r.left() + 1, r.top() + 1, r.width() - 2, 1},
        {r.left() + 1, r.bottom() + 1, r.width(), 1},
        {r.left() + 1, r.top() + 1, 1, r.height() - 2},
        {r.right() + 1, r.top(), 1, r.height() + 1},
    };
    for (int i = 0; i < 8; ++i)
        makePanel(parent, names[i], lines[i], i < 4 ? QColor(128, 128, 128) : Qt::white);
}
} // namespace

frmMain::frmMain(FlowHost& host, Modal& modal) : host_(host), modal_(modal)
{
    setObjectName(QStringLiteral("frmMain"));
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    setCentralWidget(client);

    buildHighlights(client);
    buildTopStrip(client);
    buildStartGroup(client);
    buildEndGroup(client);
    buildLowerArea(client);
    buildMenus();
    // Beside the captions, never instead of them: which port and unit the editor works on.
    lblUnit = named(new QLabel(statusBar()), "lblUnit");
    statusBar()->addWidget(lblUnit, 1);
    statusBar()->setSizeGripEnabled(false);
    showUnit(std::nullopt);
    // Each mark lies behind the field it surrounds.
    for (HighlightShape* s : highlightShapes())
        s->lower();
    Shape1->lower();
    Shape3->lower();
    connectHandlers();
    bindModel();
    showEverything();
    setTabOrderTopToBottom();
    AccessibleNames::nameControls(*this);
    openMenusWithF10(this);

    // The window sees every key typed in any of its controls first.
    qApp->installEventFilter(this);
    txtStartFrame->installEventFilter(this);
    txtEndFrame->installEventFilter(this);

    setPortCommandsEnabled(host_.lease().isFree());
    connect(&host_.lease(), &PortLease::changed, this,
            [this](bool free) { setPortCommandsEnabled(free); });
    // Any command on the line after a load (a save, a restore, Dump, a scan) may have
    // changed the unit: the next backup reads the whole unit again.
    connect(&host_.lease(), &PortLease::changed, this, [this](bool free) {
        if (!free)
            lastLoad_.reset();
    });

    fitToFont(client);
}

// The design places suit an 8-point font; the desktop's font may need more room.
void frmMain::fitToFont(QWidget* client)
{
    const std::pair<QLineEdit*, int> shown[] = {{txtModel, 2},
                                                {txtChannel, 2},
                                                {txtStartTitle, 2},
                                                {txtEndTitle, 2},
                                                {txtStartChapter, 2},
                                                {txtEndChapter, 2},
                                                {txtStartMinutes, 3},
                                                {txtEndMinutes, 3},
                                                {txtStartSeconds, 2},
                                                {txtEndSeconds, 2},
                                                {txtStartFrame, 7},
                                                {txtEndFrame, 7},
                                                {txtComment, Limits::CommentMax}};
    for (const auto& [box, chars] : shown)
        FontFit::setShownChars(box, chars);
    for (QLineEdit* box : txtInitStr)
        FontFit::setShownChars(box, Limits::InitStrMax);
    const FontFit::Scale scale = FontFit::fit(client);
    client->setFixedSize(scale(QSize(EditorClientWidth, EditorClientHeight)));
    setFixedSize(client->width(), client->height() + menuBar()->sizeHint().height() +
                                      statusBar()->sizeHint().height());
}

frmMain::~frmMain()
{
    qApp->removeEventFilter(this);
}

void frmMain::buildTopStrip(QWidget* c)
{
    Frame1 = named(new QFrame(c), "Frame1");
    Frame1->setGeometry(0, 0, EditorClientWidth, 2);
    Frame1->setFrameShape(QFrame::HLine);
    Frame1->setFrameShadow(QFrame::Sunken);

    imgNoSync = named(new QLabel(c), "imgNoSync");
    imgNoSync->setGeometry(187, 6, 50, 44);
    imgNoSync->setPixmap(IndicatorImages::notConnected());
    imgNoSync->setToolTip(QStringLiteral("Synchronizer Not Connected"));
    imgSync = named(new QLabel(c), "imgSync");
    imgSync->setGeometry(187, 6, 50, 44);
    imgSync->setPixmap(IndicatorImages::connected());
    imgSync->setToolTip(QStringLiteral("Synchronizer Connected"));
    imgSync->hide();

    lblModel = makeLabel(c, "lblModel", QStringLiteral("Model"), {14, 18, 40, 20});
    txtModel = makeNumberBox(c, "txtModel", {58, 16, 36, 24});
    scrModel = makeSpinner(c, "scrModel", Limits::ModelMin, Limits::ModelMax, {95, 6, 17, 44});
    lblChannel = makeLabel(c, "lblChannel", QStringLiteral("Channel"), {286, 18, 52, 20});
    txtChannel = makeNumberBox(c, "txtChannel", {342, 16, 36, 24});
    scrChannel =
        makeSpinner(c, "scrChannel", Limits::ChannelMin, Limits::ChannelMax, {379, 6, 17, 44});
    // Locked at start: the boxes greyed and disabled, the spinners hidden.
    for (QLineEdit* t : {txtModel, txtChannel}) {
        QPalette p = t->palette();
        p.setColor(QPalette::Base, p.color(QPalette::Light));
        t->setPalette(p);
    }
}

void frmMain::buildStartGroup(QWidget* c)
{
    Shape2 = makePanel(c, "Shape2", {12, 58, 64, 22}, QColor(160, 160, 160));
    Label1a = makeLabel(c, "Label1a", QStringLiteral("Start"), {20, 60, 50, 18});
    QFont bold = Label1a->font();
    bold.setBold(true);
    Label1a->setFont(bold);
    Shape1 = makePanel(c, "Shape1", {12, 80, 401, 110}, QColor(192, 192, 192));
    static const char* const lines[8] = {"Line1a", "Line2a", "Line3a", "Line4a",
                                         "Line5a", "Line6a", "Line7a", "Line8a"};
    makeEtchedBorder(c, {12, 80, 400, 109}, lines);

    rdbStart = named(new QGroupBox(QStringLiteral("Start Mode"), c), "rdbStart");
    rdbStart->setGeometry(22, 86, 381, 46);
    optStartTitle =
        makeOption(rdbStart, "optStartTitle", QStringLiteral("Title"), {10, 18, 60, 22});
    optStartChapter =
        makeOption(rdbStart, "optStartChapter", QStringLiteral("Chapter"), {84, 18, 80, 22});
    optStartTimecode =
        makeOption(rdbStart, "optStartTimecode", QStringLiteral("Time"), {176, 18, 64, 22});
    optStartFrame =
        makeOption(rdbStart, "optStartFrame", QStringLiteral("Frame Number"), {252, 18, 122, 22});
    optStartTitle->setChecked(true);

    lblStartTitle = makeLabel(c, "lblStartTitle", QStringLiteral("Title"), {24, 150, 32, 20});
    txtStartTitle = makeNumberBox(c, "txtStartTitle", {58, 148, 36, 24});
    scrStartTitle =
        makeSpinner(c, "scrStartTitle", Limits::StartTitleMin, Limits::TitleMax, {95, 138, 17, 44});
    lblStartChapter =
        makeLabel(c, "lblStartChapter", QStringLiteral("Chapter"), {134, 150, 50, 20});
    txtStartChapter = makeNumberBox(c, "txtStartChapter", {186, 148, 36, 24});
    scrStartChapter = makeSpinner(c, "scrStartChapter", Limits::StartChapterMin, Limits::ChapterMax,
                                  {223, 138, 17, 44});
    lblStartMinutes = makeLabel(c, "lblStartMinutes", QStringLiteral("Minute"), {134, 150, 44, 20});
    txtStartMinutes = makeNumberBox(c, "txtStartMinutes", {180, 148, 40, 24});
    scrStartMinutes = makeSpinner(c, "scrStartMinutes", 0, Limits::MinutesMax, {221, 138, 17, 44});
    lblStartSeconds = makeLabel(c, "lblStartSeconds", QStringLiteral("Second"), {254, 150, 48, 20});
    txtStartSeconds = makeNumberBox(c, "txtStartSeconds", {304, 148, 36, 24});
    scrStartSeconds = makeSpinner(c, "scrStartSeconds", 0, Limits::SecondsMax, {341, 138, 17, 44});
    lblStartFrame = makeLabel(c, "lblStartFrame", QStringLiteral("Frame"), {134, 150, 44, 20});
    txtStartFrame = named(new QLineEdit(QStringLiteral("1000"), c), "txtStartFrame");
    txtStartFrame->setGeometry(180, 148, 96, 24);
    txtStartFrame->setAlignment(Qt::AlignCenter);
}

void frmMain::buildEndGroup(QWidget* c)
{
    Shape4 = makePanel(c, "Shape4", {12, 200, 64, 22}, QColor(160, 160, 160));
    Label1 = makeLabel(c, "Label1", QStringLiteral("End"), {20, 202, 50, 18});
    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);
    Shape3 = makePanel(c, "Shape3", {12, 222, 401, 110}, QColor(192, 192, 192));
    static const char* const lines[8] = {"Line1", "Line2", "Line3", "Line4",
                                         "Line5", "Line6", "Line7", "Line8"};
    makeEtchedBorder(c, {12, 222, 400, 109}, lines);

    rbdEnd = named(new QGroupBox(QStringLiteral("End Mode"), c), "rbdEnd");
    rbdEnd->setGeometry(22, 228, 381, 46);
    optEndTitle = makeOption(rbdEnd, "optEndTitle", QStringLiteral("Title"), {10, 18, 60, 22});
    optEndChapter =
        makeOption(rbdEnd, "optEndChapter", QStringLiteral("Chapter"), {84, 18, 80, 22});
    optEndTimecode =
        makeOption(rbdEnd, "optEndTimecode", QStringLiteral("Time"), {176, 18, 64, 22});
    optEndFrame =
        makeOption(rbdEnd, "optEndFrame", QStringLiteral("Frame Number"), {252, 18, 122, 22});
    optEndTitle->setChecked(true);

    // All end fields share one row.
    lblEndTitle = makeLabel(c, "lblEndTitle", QStringLiteral("Title"), {24, 292, 32, 20});
    txtEndTitle = makeNumberBox(c, "txtEndTitle", {58, 290, 36, 24});
    scrEndTitle =
        makeSpinner(c, "scrEndTitle", Limits::EndTitleMin, Limits::TitleMax, {95, 280, 17, 44});
    lblEndChapter = makeLabel(c, "lblEndChapter", QStringLiteral("Chapter"), {24, 292, 50, 20});
    txtEndChapter = makeNumberBox(c, "txtEndChapter", {76, 290, 36, 24});
    scrEndChapter = makeSpinner(c, "scrEndChapter", Limits::EndChapterMin, Limits::ChapterMax,
                                {113, 280, 17, 44});
    lblEndMinutes = makeLabel(c, "lblEndMinutes", QStringLiteral("Minute"), {24, 292, 44, 20});
    txtEndMinutes = makeNumberBox(c, "txtEndMinutes", {70, 290, 40, 24});
    scrEndMinutes = makeSpinner(c, "scrEndMinutes", 0, Limits::MinutesMax, {111, 280, 17, 44});
    lblEndSeconds = makeLabel(c, "lblEndSeconds", QStringLiteral("Second"), {144, 292, 48, 20});
    txtEndSeconds = makeNumberBox(c, "txtEndSeconds", {194, 290, 36, 24});
    scrEndSeconds = makeSpinner(c, "scrEndSeconds", 0, Limits::SecondsMax, {231, 280, 17, 44});
    lblEndFrame = makeLabel(c, "lblEndFrame", QStringLiteral("Frame"), {24, 292, 44, 20});
    txtEndFrame = named(new QLineEdit(QStringLiteral("5000"), c), "txtEndFrame");
    txtEndFrame->setGeometry(70, 290, 96, 24);
    txtEndFrame->setAlignment(Qt::AlignCenter);
}

void frmMain::buildLowerArea(QWidget* c)
{
    cmdSaveTo = makeButton(c, "cmdSaveTo", QStringLiteral("SAVE to Synchronizer"),
                           {10, 348, 158, 30}, true);
    cmdLoadFrom = makeButton(c, "cmdLoadFrom", QStringLiteral("LOAD from Synchronizer"),
                             {10, 384, 158, 30}, true);
    cmdFileSave =
        makeButton(c, "cmdFileSave", QStringLiteral(" SAVE to   File"), {12, 428, 152, 28}, false);
    cmdFileLoad =
        makeButton(c, "cmdFileLoad", QStringLiteral("LOAD from File"), {12, 462, 152, 28}, false);
    cmdDefaults =
        makeButton(c, "cmdDefaults", QStringLiteral("Defaults"), {12, 508, 152, 28}, false);

    chkSynchronize = named(new QCheckBox(QStringLiteral("Synchronize"), c), "chkSynchronize");
    chkSynchronize->setGeometry(178, 346, 120, 22);
    chkSquelch = named(new QCheckBox(QStringLiteral("Squelch"), c), "chkSquelch");
    chkSquelch->setGeometry(178, 368, 120, 22);
    chkSynchronize->setChecked(true);
    chkSquelch->setChecked(true);

    fraInitStrings =
        named(new QGroupBox(QStringLiteral("Init Strings (58 chars. total)"), c), "fraInitStrings");
    fraInitStrings->setGeometry(174, 398, 160, 142);
    static const char* const labelNames[4] = {"lblInitStr1", "lblInitStr2", "lblInitStr3",
                                              "lblInitStr4"};
    static const char* const boxNames[4] = {"txtInitStr1", "txtInitStr2", "txtInitStr3",
                                            "txtInitStr4"};
    for (int i = 0; i < 4; ++i) {
        lblInitStr[i] = makeLabel(fraInitStrings, labelNames[i], QString::number(i + 1),
                                  {10, 24 + i * 28, 12, 20});
        txtInitStr[i] = named(new QLineEdit(fraInitStrings), boxNames[i]);
        txtInitStr[i]->setGeometry(26, 22 + i * 28, 126, 24);
    }

    lblComment =
        makeLabel(c, "lblComment", QStringLiteral("Comment (15 chars.)"), {300, 346, 120, 20});
    txtComment = named(new QLineEdit(c), "txtComment");
    txtComment->setGeometry(300, 368, 112, 24);
    // Exit sits at the bottom right.
    cmdExit = makeButton(c, "cmdExit", QStringLiteral("Exit"), {344, 508, 68, 28}, true);

    cmbBaud = named(new QComboBox(c), "cmbBaud");
    cmbBaud->addItems({QStringLiteral("1200"), QStringLiteral("2400"), QStringLiteral("4800"),
                       QStringLiteral("9600")});
    for (int i = 0; i < 4; ++i)
        cmbBaud->setItemData(i, BaudCodes[i]);
    cmbBaud->setCurrentIndex(-1);
    cmbBaud->hide();
    lblBaud = makeLabel(c, "lblBaud", QStringLiteral("BAUD"), {0, 0, 40, 20});
    lblBaud->hide();
}

void frmMain::buildHighlights(QWidget* c)
{
    auto shape = [c](const char* name, QRect around) {
        auto* s = named(new HighlightShape(c), name);
        s->setGeometry(around.adjusted(-4, -4, 4, 4));
        return s;
    };
    shpHiLiteModel = shape("shpHiLiteModel", {58, 16, 36, 24});
    shpHiLiteChannel = shape("shpHiLiteChannel", {342, 16, 36, 24});
    shpHiLiteStartTitle = shape("shpHiLiteStartTitle", {58, 148, 36, 24});
    shpHiLiteEndTitle = shape("shpHiLiteEndTitle", {58, 290, 36, 24});
    shpHiLiteStartChapter = shape("shpHiLiteStartChapter", {186, 148, 36, 24});
    shpHiLiteEndChapter = shape("shpHiLiteEndChapter", {76, 290, 36, 24});
    shpHiLiteStartMinutes = shape("shpHiLiteStartMinutes", {180, 148, 40, 24});
    shpHiLiteStartSeconds = shape("shpHiLiteStartSeconds", {304, 148, 36, 24});
    shpHiLiteEndMinutes = shape("shpHiLiteEndMinutes", {70, 290, 40, 24});
    shpHiLiteEndSeconds = shape("shpHiLiteEndSeconds", {194, 290, 36, 24});
    shpHiLiteStartFrame = shape("shpHiLiteStartFrame", {180, 148, 96, 24});
    shpHiLiteEndFrame = shape("shpHiLiteEndFrame", {70, 290, 96, 24});
    shpHiLiteComment = shape("shpHiLiteComment", {300, 368, 112, 24});
    shpHiLiteInitStr = shape("shpHiLiteInitStr", {174, 398, 160, 142});
}

// Tab runs as one reads the window: rows from the top, each from the left; a group of
// options is one stop (the arrow keys move within it), the init strings follow one another.
// Tab passes over what is hidden.
void frmMain::setTabOrderTopToBottom()
{
    QWidget* const chain[] = {
        scrModel,      scrChannel,     optStartTitle,   optStartChapter, optStartTimecode,
        optStartFrame, scrStartTitle,  scrStartChapter, scrStartMinutes, scrStartSeconds,
        txtStartFrame, optEndTitle,    optEndChapter,   optEndTimecode,  optEndFrame,
        scrEndTitle,   scrEndChapter,  scrEndMinutes,   scrEndSeconds,   txtEndFrame,
        cmdSaveTo,     chkSynchronize, chkSquelch,      txtComment,      cmdLoadFrom,
        txtInitStr[0], txtInitStr[1],  txtInitStr[2],   txtInitStr[3],   cmdFileSave,
        cmdFileLoad,   cmdDefaults,    cmdExit};
    for (size_t i = 0; i + 1 < std::size(chain); ++i)
        QWidget::setTabOrder(chain[i], chain[i + 1]);
}

// What the window shows before Form_Load, SetDefaults or a load: the number boxes show
// their spinners' starting values.
std::array<HighlightShape*, 14> frmMain::highlightShapes() const
{
    return {shpHiLiteModel,        shpHiLiteChannel,      shpHiLiteStartTitle,
            shpHiLiteEndTitle,     shpHiLiteStartChapter, shpHiLiteEndChapter,
            shpHiLiteStartMinutes, shpHiLiteStartSeconds, shpHiLiteEndMinutes,
            shpHiLiteEndSeconds,   shpHiLiteStartFrame,   shpHiLiteEndFrame,
            shpHiLiteComment,      shpHiLiteInitStr};
}
