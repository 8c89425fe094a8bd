#include "windows/frmmain.h"

#include "windows/pictures.h"
#include "publish/examarticle.h"
#include "class/classtablemodel.h"
#include "publish/exchangefolder.h"
#include "windows/frmabout.h"
#include "collect/resultcollector.h"
#include "export/resultexporter.h"
#include "windows/twips.h"

#include "paths.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QProxyStyle>
#include <QResizeEvent>
#include <QScreen>
#include <QStyledItemDelegate>
#include <QStyleFactory>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>

namespace console {

namespace {

// The application's style with one-pixel margins in header sections.
class TightHeaderStyle : public QProxyStyle
{
public:
    TightHeaderStyle() : QProxyStyle(QStyleFactory::create(QApplication::style()->name())) { }

    int pixelMetric(PixelMetric metric, const QStyleOption *option,
                    const QWidget *widget) const override
    {
        if (metric == PM_HeaderMargin)
            return 1;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

// The progress column as a bar with the percentage on it. Plain fills: the
// style's own progress bar costs several times as much to paint, and the
// grid repaints every few seconds.
class ProgressDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
    {
        const QVariant progress = index.data(ClassTableModel::ProgressRole);
        if (!progress.isValid()) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        const QRect frame = option.rect.adjusted(2, 2, -3, -3);
        const QPalette &palette = option.palette;
        painter->save();
        if (option.state & QStyle::State_Selected)
            painter->fillRect(option.rect, palette.highlight());
        painter->fillRect(frame, palette.base());
        QRect filled = frame;
        filled.setWidth(qRound(frame.width() * progress.toDouble()));
        painter->fillRect(filled, QColor(0x9c, 0xc8, 0xf2));
        painter->setPen(palette.color(QPalette::Mid));
        painter->drawRect(frame);
        painter->setPen(palette.color(QPalette::Text));
        painter->drawText(frame, Qt::AlignCenter, index.data().toString());
        painter->restore();
    }
};

constexpr int kProgressTwips = 1050;

const QString kClosedCaption = QStringLiteral("允许登录");
const QString kOpenCaption = QStringLiteral("禁止登录");
const QString kClosedToolTip = QStringLiteral("允许考生登录服务器以开始考试");
const QString kOpenToolTip = QStringLiteral("禁止考生登录服务器，但不影响已开始考试的考生");

QFont simSun(qreal points)
{
    QFont font;
    font.setFamilies({ QStringLiteral("SimSun"), QStringLiteral("宋体") });
    font.setPointSizeF(points);
    return font;
}

QGroupBox *frame(QWidget *parent, const char *name, const QString &title = QString())
{
    auto *box = new QGroupBox(title, parent);
    box->setObjectName(QLatin1String(name));
    return box;
}

QLabel *label(QWidget *parent, const char *name, const QString &text, const QRect &geometry,
              const QFont &font)
{
    auto *lbl = new QLabel(text, parent);
    lbl->setObjectName(QLatin1String(name));
    lbl->setGeometry(geometry);
    lbl->setFont(font);
    return lbl;
}

// Red figures on a background of the given system colour.
void paintCounter(QLabel *lbl, QPalette::ColorRole background)
{
    QPalette palette = lbl->palette();
    palette.setColor(QPalette::Window, palette.color(background));
    palette.setColor(QPalette::WindowText, Qt::red);
    lbl->setPalette(palette);
    lbl->setAutoFillBackground(true);
}

QPushButton *button(QWidget *parent, const char *name, const QString &text, const QRect &geometry)
{
    auto *btn = new QPushButton(text, parent);
    btn->setObjectName(QLatin1String(name));
    btn->setGeometry(geometry);
    return btn;
}

}  // namespace

FrmMain::FrmMain(ConsoleFolders folders, ConsoleHooks hooks, Messages *messages, QWidget *parent)
    : QWidget(parent,
              Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                      | Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint
                      | Qt::WindowCloseButtonHint),
      m_folders(std::move(folders)),
      m_hooks(std::move(hooks)),
      m_boxes(messageTitle(), MessageBoxes::DefaultAnswer::No),
      m_messages(messages ? messages : &m_boxes),
      m_settings(m_folders.application),
      m_gate(m_folders.application, m_folders.exchange),
      m_store(std::make_unique<ResultStore>(m_folders.database)),
      m_background(m_folders.exchange, m_folders.application, m_folders.database)
{
    setObjectName(QStringLiteral("FrmMain"));
    setWindowTitle(QStringLiteral("Kestrix服务器"));
    // The classic layout is the smallest size; a larger window gives the
    // grid the room.
    setMinimumSize(twips::px(10080), twips::px(7545));
    resize(minimumSize());

    buildToolbar();
    buildResultsView();
    buildSettingsView();

    // Start-up: the results view, the stored results ranked by speed with
    // their number, and the exam time of time.txt.
    m_frameSet->setGeometry(twips::rect(120, 960, 9855, 6495));
    placeFrames();
    showResultsView(true);
    m_collectClock.setInterval(kAutoCollectMillis);
    connect(&m_collectClock, &QTimer::timeout, this, &FrmMain::collectQuietly);
    connect(&m_background, &BackgroundCollector::finished, this, &FrmMain::showQuietCollection);
    showGateState();
    if (!m_store->isOpen())
        tell(m_store->lastError());
    if (const auto stored = m_store->rowsInRankOrder())
        m_live.showStored(*stored);
    showLiveRows();
    showCount();
    m_examMinutes = m_settings.storedExamMinutes();
    m_testTime->setEditText(QString::number(m_examMinutes));
    // Asked once the window is up, so the question stands in front of it.
    if (m_gate.isOpen())
        QTimer::singleShot(0, this, &FrmMain::offerToWithdrawPublishedExam);
}

FrmMain::~FrmMain()
{
    // The last collection is shown while the window is still whole.
    m_collectClock.stop();
    m_background.wait();
    delete m_about;
}

void FrmMain::buildToolbar()
{
    m_toolbar = new QToolBar(this);
    m_toolbar->setObjectName(QStringLiteral("Toolbar1"));
    m_toolbar->setGeometry(twips::rect(0, 0, 10080, 870));
    m_toolbar->setIconSize(QSize(32, 32));
    m_toolbar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_toolbar->setMovable(false);
    m_toolbar->setFloatable(false);

    m_clearLast =
            addToolbarButton(QStringLiteral("ClearLast"), QStringLiteral("清空上次"),
                             QStringLiteral("清空上一场考试的记录，包括考试成绩，请先做好备份！"),
                             QStringLiteral("clearlast"));
    connect(m_clearLast, &QToolButton::clicked, this, &FrmMain::clearResults);
    QToolButton *set =
            addToolbarButton(QStringLiteral("set"), QStringLiteral("考试设置"),
                             QStringLiteral("设置考试时间、内容等"), QStringLiteral("set"));
    connect(set, &QToolButton::clicked, this, &FrmMain::openSettingsPanel);
    m_beginStop = addToolbarButton(QStringLiteral("BeginStop"), kClosedCaption, QString(),
                                   QStringLiteral("begin"));
    connect(m_beginStop, &QToolButton::clicked, this, &FrmMain::openOrCloseLogin);
    QToolButton *fresh = addToolbarButton(QStringLiteral("fresh"), QStringLiteral("获取成绩"),
                                          QStringLiteral("获取考试成绩或者获取登陆信息"),
                                          QStringLiteral("fresh"));
    connect(fresh, &QToolButton::clicked, this, &FrmMain::collectResults);
    QToolButton *roster = addToolbarButton(
            QStringLiteral("roster"), QStringLiteral("载入名单"),
            QStringLiteral("载入考生名单（Excel、CSV或文本文件，列为部门、考号、姓名），"
                           "显示未登录的考生和名单外的成绩"),
            QStringLiteral("roster"));
    connect(roster, &QToolButton::clicked, this, &FrmMain::loadRoster);
    QToolButton *help =
            addToolbarButton(QStringLiteral("help"), QStringLiteral("帮助"),
                             QStringLiteral("软件安装、使用说明"), QStringLiteral("help"));

    auto *menu = new QMenu(help);
    menu->setObjectName(QStringLiteral("helpMenu"));
    QAction *manual = menu->addAction(QStringLiteral("使用说明"));
    manual->setObjectName(QStringLiteral("manual"));
    connect(manual, &QAction::triggered, this, &FrmMain::openManual);
    QAction *about = menu->addAction(QStringLiteral("关于"));
    about->setObjectName(QStringLiteral("about"));
    connect(about, &QAction::triggered, this, &FrmMain::showAbout);
    help->setMenu(menu);
    // The face of the help button has no action of its own: it opens the menu.
    help->setPopupMode(QToolButton::InstantPopup);
}

QToolButton *FrmMain::addToolbarButton(const QString &key, const QString &caption,
                                       const QString &toolTip, const QString &imageKey)
{
    auto *btn = new QToolButton(m_toolbar);
    btn->setObjectName(key);
    btn->setProperty("imageKey", imageKey);
    btn->setText(caption);
    btn->setToolTip(toolTip);
    btn->setIcon(pictures::toolbarImage(imageKey));
    btn->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    btn->setAutoRaise(true);
    btn->setMinimumWidth(64);
    m_toolbar->addWidget(btn);
    return btn;
}

void FrmMain::buildResultsView()
{
    m_frameCJ = frame(this, "FrameCJ");
    m_grid = new QTableView(m_frameCJ);
    m_grid->setObjectName(QStringLiteral("DataGrid1"));
    m_grid->setFont(simSun(9));
    m_grid->horizontalHeader()->setFont(simSun(9));
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->verticalHeader()->setDefaultSectionSize(twips::px(270));
    m_grid->verticalHeader()->setFixedWidth(twips::px(270));
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->verticalHeader()->setDefaultAlignment(Qt::AlignCenter);

    m_model = new ClassTableModel(this);
    m_grid->setModel(m_model);
    m_grid->setItemDelegateForColumn(ClassTableModel::Progress, new ProgressDelegate(m_grid));
    // The state and the progress are what the examiner watches during the
    // exam: they stand right after the name.
    const std::pair<ClassTableModel::Column, int> columns[] = {
        { ClassTableModel::Department, 1920 },
        { ClassTableModel::ExamNumber, 1710 },
        { ClassTableModel::Name, 1425 },
        { ClassTableModel::State, 675 },
        { ClassTableModel::Progress, kProgressTwips },
        { ClassTableModel::Speed, 1725 },
        { ClassTableModel::Accuracy, 1080 },
        { ClassTableModel::TimePass, 1335 },
        { ClassTableModel::RecNo, 735 },
    };
    QHeaderView *header = m_grid->horizontalHeader();
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // The captions just fit their columns; the style's wide margins would
    // cut off the last sign.
    auto *tightStyle = new TightHeaderStyle();
    tightStyle->setParent(header);
    header->setStyle(tightStyle);
    for (int visual = 0; visual < int(std::size(columns)); ++visual) {
        const auto [logical, width] = columns[visual];
        header->moveSection(header->visualIndex(logical), visual);
        m_grid->setColumnWidth(logical, twips::px(width));
    }

    m_frameCJ1 = frame(this, "FrameCJ1");
    m_frameCJ1->setGeometry(twips::rect(240, 6840, 9615, 615));
    const QFont countFont = simSun(12);
    label(m_frameCJ1, "Label1", QStringLiteral("已登录人数："), twips::rect(120, 240, 1500, 255),
          countFont);
    m_count =
            label(m_frameCJ1, "LblRenShu", QString(), twips::rect(1560, 240, 855, 255), countFont);
    paintCounter(m_count, QPalette::ButtonText);
    label(m_frameCJ1, "Label2", QStringLiteral("人"), twips::rect(2520, 240, 300, 255), countFont);
    m_liveCounts = label(m_frameCJ1, "LblLiveCounts", QString(), twips::rect(2820, 240, 4200, 255),
                         simSun(10.5));
    m_exportButton = button(m_frameCJ1, "CmdOutToExl", QStringLiteral("成绩导出到Excel表格"),
                            twips::rect(7080, 220, 2295, 300));
    m_exportButton->setToolTip(QStringLiteral("必须安装MS Excel才可以使用此功能"));
    connect(m_exportButton, &QPushButton::clicked, this, &FrmMain::exportResults);
}

void FrmMain::buildSettingsView()
{
    m_frameSet = frame(this, "FrameSet");
    m_frameSet->setFlat(true);
    m_frameSet->setStyleSheet(QStringLiteral("QGroupBox#FrameSet { border: none; }"));

    QGroupBox *timeFrame = frame(m_frameSet, "Frame1", QStringLiteral("考试时间设置"));
    timeFrame->setGeometry(twips::rect(0, 0, 9855, 855));
    label(timeFrame, "Label3", QStringLiteral("考试时间（分钟）："),
          twips::rect(360, 405, 2055, 255), simSun(10.5));
    m_testTime = new QComboBox(timeFrame);
    m_testTime->setObjectName(QStringLiteral("CmbTestTime"));
    m_testTime->setGeometry(twips::rect(2280, 360, 855, 300));
    m_testTime->setEditable(true);
    m_testTime->setInsertPolicy(QComboBox::NoInsert);
    // What is typed stays as typed: completion would make "3" into "30".
    m_testTime->setCompleter(nullptr);
    m_testTime->addItems({ QStringLiteral("2"), QStringLiteral("10"), QStringLiteral("15"),
                           QStringLiteral("20"), QStringLiteral("25"), QStringLiteral("30") });

    // The exchange folder, for labs whose machines have no D: drive or keep
    // the FTP service's folder elsewhere.
    label(timeFrame, "Label6", QStringLiteral("交换文件夹："), twips::rect(3600, 405, 1215, 255),
          font());
    m_exchangeLabel =
            label(timeFrame, "LblExchange", QString(), twips::rect(4800, 405, 3600, 255), font());
    QPushButton *chooseExchange = button(timeFrame, "CmdExchange", QStringLiteral("更改文件夹"),
                                         twips::rect(8520, 360, 1095, 300));
    connect(chooseExchange, &QPushButton::clicked, this, &FrmMain::chooseExchangeFolder);

    QGroupBox *textFrame = frame(m_frameSet, "Frame2", QStringLiteral("考试内容设置"));
    textFrame->setGeometry(twips::rect(0, 960, 9855, 4935));
    label(textFrame, "Label4", QStringLiteral("考试内容"), twips::rect(240, 360, 735, 255), font());
    QPushButton *choose = button(textFrame, "CmdChFile", QStringLiteral("更改内容"),
                                 twips::rect(8520, 240, 1095, 300));
    connect(choose, &QPushButton::clicked, this, &FrmMain::chooseArticle);
    m_textBox = new QPlainTextEdit(textFrame);
    m_textBox->setObjectName(QStringLiteral("TxtType"));
    m_textBox->setGeometry(twips::rect(240, 600, 9375, 3855));
    m_textBox->setReadOnly(true);
    m_textBox->setFont(simSun(10.5));
    m_textBox->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    label(textFrame, "Label5", QStringLiteral("文字总数："), twips::rect(240, 4600, 975, 255),
          font());
    m_wordCount = label(textFrame, "LblWordCount", QString(), twips::rect(1260, 4560, 975, 255),
                        simSun(10.5));
    paintCounter(m_wordCount, QPalette::WindowText);

    QPushButton *save = button(m_frameSet, "CmdSave", QStringLiteral("保存设置"),
                               twips::rect(6480, 6000, 1455, 375));
    connect(save, &QPushButton::clicked, this, &FrmMain::saveSettings);
    QPushButton *cancel = button(m_frameSet, "CmdCancel", QStringLiteral("取消"),
                                 twips::rect(8400, 6000, 1455, 375));
    connect(cancel, &QPushButton::clicked, this, &FrmMain::cancelSettings);
}

void FrmMain::showResultsView(bool restoreGeometry)
{
    m_frameCJ->show();
    if (restoreGeometry)
        placeFrames();
    m_frameCJ1->show();
    m_frameSet->hide();
}

void FrmMain::placeFrames()
{
    // What the window has beyond its classic size goes to the grid; the
    // counts frame stays below it, the export button at its right end.
    const int wider = std::max(0, width() - minimumWidth());
    const int taller = std::max(0, height() - minimumHeight());
    m_toolbar->resize(twips::px(10080) + wider, m_toolbar->height());
    m_frameCJ->setGeometry(twips::px(240), twips::px(800), twips::px(9615) + wider,
                           twips::px(6000) + taller);
    m_grid->setGeometry(twips::px(30), twips::px(120), m_frameCJ->width() - twips::px(120),
                        m_frameCJ->height() - twips::px(180));
    m_frameCJ1->setGeometry(twips::px(240), twips::px(6840) + taller, twips::px(9615) + wider,
                            twips::px(615));
    // The progress bars take the room a larger window gives.
    m_grid->setColumnWidth(ClassTableModel::Progress, twips::px(kProgressTwips) + wider / 2);
    m_exportButton->move(twips::px(7080) + wider, m_exportButton->y());
}

void FrmMain::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeFrames();
}

void FrmMain::showCount()
{
    const auto rows = m_store->rowCount();
    m_count->setText(rows ? QString::number(*rows) : QString());
    const ClassCounts counts = m_live.counts();
    QString text =
            QStringLiteral("· 答题中 %1 · 已交卷 %2").arg(counts.typing).arg(counts.finished);
    if (m_live.roster())
        text += QStringLiteral(" · 未登录 %1").arg(counts.absent);
    m_liveCounts->setText(text);
    m_liveCounts->setToolTip(QString());
    m_liveCounts->setStyleSheet(QString());
}

void FrmMain::showLiveRows()
{
    m_model->setRows(m_live.rows());
}

void FrmMain::showGateState()
{
    const bool open = m_gate.isOpen();
    m_beginStop->setText(open ? kOpenCaption : kClosedCaption);
    m_beginStop->setIcon(
            pictures::toolbarImage(open ? QStringLiteral("stop") : QStringLiteral("begin")));
    m_beginStop->setProperty("imageKey", open ? QStringLiteral("stop") : QStringLiteral("begin"));
    m_beginStop->setToolTip(open ? kOpenToolTip : kClosedToolTip);
    m_clearLast->setEnabled(!open);
    // The class is watched while examinees may log in.
    if (open)
        m_collectClock.start();
    else
        m_collectClock.stop();
}

void FrmMain::tell(const QString &text)
{
    m_messages->inform(this, text);
}

bool FrmMain::ask(const QString &question)
{
    return m_messages->confirm(this, question);
}

bool FrmMain::mayActBesideOtherConsole(const QString &action)
{
    const auto other = m_gate.otherConsole(QDateTime::currentDateTimeUtc());
    return !other || ask(ConsoleMarker::warning(*other, action));
}

void FrmMain::offerToWithdrawPublishedExam()
{
    // Another console's exam is that console's to withdraw.
    if (!m_gate.isOpen() || m_gate.otherConsole(QDateTime::currentDateTimeUtc()))
        return;
    if (ask(LoginGate::publishedExamQuestion(m_gate.publishedExam())))
        closeLogin();
}

// ---- Login gate ----

void FrmMain::openOrCloseLogin()
{
    if (m_gate.isOpen())
        closeLogin();
    else
        openLogin();
}

void FrmMain::openLogin()
{
    const LoginGate::Readiness readiness = m_gate.readiness();
    if (readiness != LoginGate::Readiness::Ready) {
        tell(m_gate.readinessMessage(readiness));
        return;
    }
    if (!mayActBesideOtherConsole(QStringLiteral("开放登录")))
        return;
    const QString problem = m_gate.open(m_examMinutes);
    showGateState();
    if (!problem.isEmpty())
        tell(problem);
}

void FrmMain::closeLogin()
{
    if (!mayActBesideOtherConsole(QStringLiteral("禁止登录")))
        return;
    const QString problem = m_gate.close();
    showGateState();
    if (!problem.isEmpty())
        tell(problem);
}

// ---- Settings panel ----

void FrmMain::setExamText(const QString &text)
{
    m_examText = text;
    // The box shows lines; the count is of the text as the files have it.
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    m_textBox->setPlainText(shown);
}

void FrmMain::openSettingsPanel()
{
    m_frameCJ->hide();
    m_frameCJ1->hide();
    m_frameSet->show();
    const QString exchange = QDir::toNativeSeparators(m_folders.exchange);
    m_exchangeLabel->setText(m_exchangeLabel->fontMetrics().elidedText(exchange, Qt::ElideMiddle,
                                                                       m_exchangeLabel->width()));
    m_exchangeLabel->setToolTip(exchange);
    setExamText(QString());
    const examarticle::Reading stored = m_settings.storedExamText();
    if (stored.text) {
        setExamText(*stored.text);
        m_wordCount->setText(QString::number(m_examText.size()));
    } else if (!stored.problem.isEmpty()) {
        tell(stored.problem);
    }
}

void FrmMain::chooseExchangeFolder()
{
    // The login gate and the collector work on the folder they started
    // with: a new one is taken at the next start, never under an open exam.
    if (m_gate.isOpen()) {
        tell(QStringLiteral("考试正在进行（已允许登录），请先禁止登录，再更改交换文件夹。"));
        return;
    }
    const QString chosen = m_hooks.chooseFolder(this, m_folders.exchange);
    if (chosen.isEmpty())
        return;
    const QString problem = m_settings.saveExchangeFolder(chosen);
    if (!problem.isEmpty()) {
        tell(problem);
        return;
    }
    QString text =
            QStringLiteral(
                    "交换文件夹已设为 "
                    "%1，重新启动考试服务器后生效。请把Ftp服务器的主目录也设置为这个文件夹。")
                    .arg(QDir::toNativeSeparators(chosen));
    if (qEnvironmentVariableIsSet("KESTRIX_EXCHANGE_DIR"))
        text += QStringLiteral(
                "\n注意：环境变量 KESTRIX_EXCHANGE_DIR 已设置，它优先于这里的选择。");
    tell(text);
}

void FrmMain::chooseArticle()
{
    const QString chosen = m_hooks.chooseArticle(this, m_settings.articleFolder());
    if (!chosen.isEmpty()) {
        const examarticle::Reading article = examarticle::fromFile(chosen);
        if (!article.text) {
            tell(article.problem);
            return;
        }
        m_articlePath = chosen;
        setExamText(*article.text);
    }
    m_wordCount->setText(QString::number(m_examText.size()));
}

void FrmMain::saveSettings()
{
    const ConsoleSettings::SaveOutcome outcome =
            m_settings.save(m_articlePath, m_testTime->currentText());
    if (!outcome.examMinutes) {
        tell(outcome.problem);
        return;
    }
    m_examMinutes = *outcome.examMinutes;
    showResultsView(true);
    setExamText(QString());
}

void FrmMain::cancelSettings()
{
    m_testTime->setEditText(QString::number(m_examMinutes));
    showResultsView(true);
}

// ---- Results ----

ExamFacts FrmMain::examFacts() const
{
    return { qint32(m_examMinutes) * 60, m_publishedLength };
}

void FrmMain::readPublishedLength()
{
    // The exam text as published, counted as the client counts it; kept
    // when login closes and the text is withdrawn.
    const QString published = QDir(m_folders.exchange).filePath(LoginGate::publishedTextName());
    const QFileInfo info(published);
    // Counted again only when the file changed: the automatic collection
    // asks every few seconds.
    const QString stamp = QString::number(info.size()) + u'@'
            + QString::number(info.lastModified().toMSecsSinceEpoch());
    if (info.isFile() && stamp != m_publishedStamp) {
        m_publishedStamp = stamp;
        // Anyone may replace te.txt: the read is bounded.
        if (const examarticle::Reading text =
                    examarticle::fromFile(published, examarticle::Source::ExamFile);
            text.text)
            m_publishedLength = qint32(text.text->size());
    }
}

void FrmMain::showCollection(const CollectionReport &report)
{
    if (report.ok())
        m_live.update(report.results, examFacts());
    showLiveRows();
    showCount();
}

void FrmMain::collectResults()
{
    showResultsView(false);
    setExamText(QString());
    // An automatic collection under way finishes first: one writer at a time.
    m_background.wait();
    readPublishedLength();
    const CollectionReport report =
            ResultCollector(m_folders.exchange, m_folders.application, *m_store).collect();
    showCollection(report);
    if (!report.ok())
        tell(report.problem);
    else if (!report.skipped.isEmpty())
        tell(skippedFilesMessage(report.skipped));
}

void FrmMain::collectQuietly()
{
    // A tick that finds the last collection still running is passed over.
    if (m_background.busy())
        return;
    readPublishedLength();
    m_background.start();
}

void FrmMain::showQuietCollection(const CollectionReport &report)
{
    showCollection(report);
    // Files still being uploaded are normal while the class types; only a
    // failure of the whole collection is worth the examiner's eye.
    if (!report.ok()) {
        m_liveCounts->setText(QStringLiteral("· 自动获取成绩失败"));
        m_liveCounts->setToolTip(report.problem);
        m_liveCounts->setStyleSheet(QStringLiteral("color: #C00000;"));
    }
}

void FrmMain::clearResults()
{
    showResultsView(false);
    setExamText(QString());
    if (!mayActBesideOtherConsole(QStringLiteral("清空")))
        return;
    // A collection still under way must not refill the table afterwards.
    m_background.wait();
    const int results = m_store->rowCount().value_or(0);
    const int files = int(exchangeFilesToRemove(m_folders.exchange).size());
    if ((results || files)
        && !ask(QStringLiteral("清空将删除成绩表中的%1条成绩和交换文件夹 %2 "
                               "中的%3个文件，删除后无法恢复。\n"
                               "请先做好备份（导出成绩，复制 cj.mdb）。确定要清空吗？")
                        .arg(results)
                        .arg(QDir::toNativeSeparators(m_folders.exchange))
                        .arg(files)))
        return;
    const bool cleared = m_store->clear();
    m_live.clear();
    m_publishedLength.reset();
    m_publishedStamp.clear();
    showLiveRows();
    showCount();
    if (!cleared)
        tell(m_store->lastError());
    const QString problem = clearExchangeFolder(m_folders.exchange,
                                                { m_folders.application, m_folders.program,
                                                  QFileInfo(m_folders.database).absolutePath() });
    if (!problem.isEmpty())
        tell(problem);
}

void FrmMain::loadRoster()
{
    const QString path = m_hooks.chooseRoster(this);
    if (path.isEmpty())
        return;
    ClassRoster::Reading reading = ClassRoster::load(path);
    if (!reading.roster) {
        tell(reading.problem);
        return;
    }
    m_live.setRoster(std::move(reading.roster));
    showLiveRows();
    showCount();
}

void FrmMain::exportResults()
{
    const auto rows = m_store->rowsInRankOrder();
    if (!rows) {
        tell(m_store->lastError());
        return;
    }
    if (!QDir().mkpath(m_folders.exports)) {
        tell(QStringLiteral("无法建立导出文件夹 %1")
                     .arg(QDir::toNativeSeparators(m_folders.exports)));
        return;
    }
    const QString path =
            ResultExporter::newWorkbookPath(m_folders.exports, QDateTime::currentDateTime());
    const ResultExporter::Outcome outcome =
            ResultExporter::write(*rows, path, m_live.doubtsByRecNo());
    if (!outcome.problem.isEmpty()) {
        tell(outcome.problem);
        return;
    }
    const bool opened = m_hooks.openUrl(QUrl::fromLocalFile(path));
    QString message = ResultExporter::doneMessage(path, outcome.changed);
    if (!opened)
        message += QStringLiteral("\n没有找到能打开它的表格程序。");
    tell(message);
}

// ---- Help ----

void FrmMain::openManual()
{
    // As with any document the desktop opens, a missing file or a missing
    // program is for the desktop to report.
    m_hooks.openUrl(QUrl::fromLocalFile(QDir(m_folders.program).filePath(manualFileName())));
}

void FrmMain::showAbout()
{
    if (!m_about) {
        m_about = new FrmAbout(m_hooks.openUrl);
        m_about->setAttribute(Qt::WA_DeleteOnClose);
    }
    if (!m_about->isVisible()) {
        m_about->show();
        // Centred on the screen the console is on.
        const QRect screen = this->screen()->availableGeometry();
        m_about->move(screen.center() - m_about->rect().center());
    }
    m_about->raise();
    m_about->activateWindow();
}

void FrmMain::closeEvent(QCloseEvent *event)
{
    // The console ends with its window: the About box goes too, and the
    // results database is closed.
    if (m_about)
        m_about->close();
    m_collectClock.stop();
    m_background.wait();
    m_store->close();
    event->accept();
}

}  // namespace console
