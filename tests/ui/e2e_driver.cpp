// A punter inside the real program: loaded into build/<preset>/selvane through Qt's generic
// plug-in hook (QT_QPA_GENERIC_PLUGINS=selvane-e2e), it agrees to the splash once the advert is
// ready (or declines it: SELVANE_E2E_SPLASH), checks the advert strip, downloads the race
// meetings, chooses a track, double-clicks a race, checks what the widgets show against
// selvane-cli for the same race, saves a screenshot, opens Live Results for that race and for the
// meeting's last race (screenshots beside the first: "-results.png", "-placeholder.png"), presses
// Live Odds for the last race and checks its rows against selvane-cli odds ("-odds.png") and
// closes the window. tests/ui/e2e_race.sh sets it up; the program binary is the one users run.
// Every wait has a time limit, and the whole run has one too.
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGenericPlugin>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPixmap>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QSet>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <nlohmann/json.hpp>

#include <cstdlib>
#include <functional>
#include <stdexcept>

namespace {

// The second meeting (so the track is the punter's own choice, not the one the download
// picks) and its second race: run by 14:00, so it has placings, with later races still to run.
constexpr int kTrackEntry = 1;
constexpr int kRaceRow = 1;
constexpr int kStepLimitMs = 30000;
constexpr int kRunLimitMs = 150000;

struct Settings {
    QString report, shot, cli, formGuide, resultsSite, date;
    QString splash;      // accept (default), decline or stall
    QString splashShot;  // where the accept run pictures the splash, if anywhere
};

QString env(const char* name) { return qEnvironmentVariable(name); }

class Failure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A caption as its label shows it: "&&" is one "&".
QString shownCaption(const QString& caption) {
    QString shown = caption;
    return shown.replace(QStringLiteral("&&"), QStringLiteral("&"));
}

QString text(const nlohmann::json& value) {
    return value.is_string() ? QString::fromStdString(value.get<std::string>()) : QString();
}

// Counts the widget's paints while it is disabled and notices it being disabled at all.
class BusyWatch : public QObject {
public:
    using QObject::QObject;
    bool disabledSeen = false;
    int disabledPaints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* w = static_cast<QWidget*>(watched);
        if (event->type() == QEvent::EnabledChange && !w->isEnabled()) disabledSeen = true;
        if (event->type() == QEvent::Paint && !w->isEnabled()) ++disabledPaints;
        return false;
    }
};

class Driver : public QObject {
public:
    explicit Driver(Settings s) : s_(std::move(s)) {
        connect(&poll_, &QTimer::timeout, this, [this] { pollForWindow(); });
        poll_.start(100);
        // A message box (a race's data warning) would stop the run: note it and answer OK.
        connect(&modal_, &QTimer::timeout, this, [this] { answerMessageBoxes(); });
        modal_.start(100);
        connect(&results_, &QTimer::timeout, this, [this] { shootResultsWindow(); });
        results_.start(100);
        deadline_.setSingleShot(true);
        connect(&deadline_, &QTimer::timeout, this, [this] {
            failures_ << QStringLiteral("the run passed its time limit of %1 s during: %2").arg(kRunLimitMs / 1000).arg(step_);
            writeReport();
            std::_Exit(3);  // a nested wait cannot be unwound from here
        });
        deadline_.start(kRunLimitMs);
    }

private:
    // The splash in the punter's three ways: accept once the advert is prepared (the race
    // run), decline at once, or (maker's site stalled) press "I Agree" while the advert still
    // loads, wait for the blank frame page, then decline.
    void pollForWindow() {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (!top->isVisible()) continue;
            if (top->objectName() == QLatin1String("frmSplash")) onSplash(top);
            if (top->objectName() == QLatin1String("frmParser")) {
                if (s_.splash != QLatin1String("accept")) {
                    failures_ << QStringLiteral("the main window opened though the punter did not agree");
                    writeReport();
                    std::_Exit(4);
                }
                poll_.stop();
                window_ = top;
                QTimer::singleShot(0, this, [this] { run(); });
                return;
            }
        }
    }

    QString workFile(const char* name) const {
        return QCoreApplication::applicationDirPath() + QLatin1Char('/') + QLatin1String(name);
    }

    // The frame page once it is written: its third line names the framed page.
    QString framedPage() const {
        QFile page(workFile("iFrame_page.html"));
        if (!page.open(QIODevice::ReadOnly)) return {};
        const QList<QByteArray> lines = page.readAll().split('\n');
        return lines.size() > 2 ? QString::fromUtf8(lines[2]).trimmed() : QString();
    }

    void onSplash(QWidget* splash) {
        auto* ok = splash->findChild<QPushButton*>(QStringLiteral("cmdOK"));
        auto* cancel = splash->findChild<QPushButton*>(QStringLiteral("cmdCancel"));
        if (!ok || !cancel) return;
        if (!splashSeen_.isValid()) splashSeen_.start();
        if (s_.splash == QLatin1String("decline")) {
            if (declined_) return;
            declined_ = true;
            notes_ << QStringLiteral("declined %1 ms after the splash showed; the frame page then framed: %2")
                          .arg(splashSeen_.elapsed())
                          .arg(framedPage().isEmpty() ? QStringLiteral("(not written yet)") : framedPage());
            writeReport();
            QTest::mouseClick(cancel, Qt::LeftButton);
            return;
        }
        if (s_.splash == QLatin1String("stall")) {
            if (!pressedEarly_) {
                pressedEarly_ = true;
                QTest::mouseClick(ok, Qt::LeftButton);  // the advert is still loading: nothing
                return;
            }
            const QString framed = framedPage();
            if (framed.isEmpty() || declined_) return;
            declined_ = true;
            notes_ << QStringLiteral("frame page written %1 ms after the splash showed: %2").arg(splashSeen_.elapsed()).arg(framed);
            expect(framed == QStringLiteral("<iframe src=\"blank.html\""), QStringLiteral("the stalled advert framed %1").arg(framed));
            expect(!QFileInfo::exists(workFile("adsbase.html")), QStringLiteral("adsbase.html was written from a stalled site"));
            writeReport();
            QTest::mouseClick(cancel, Qt::LeftButton);
            return;
        }
        // Accept: once the advert is ready, picture the splash, then agree (again on each poll
        // until the main window comes: a press while the splash is busy does nothing).
        if (framedPage().isEmpty()) return;
        if (!splashShot_ && !s_.splashShot.isEmpty()) {
            splashShot_ = true;
            const QRect frame = splash->frameGeometry();
            if (!splash->screen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height()).save(s_.splashShot, "PNG"))
                failures_ << QStringLiteral("could not write ") + s_.splashShot;
        }
        QTest::mouseClick(ok, Qt::LeftButton);
    }

    // Right after "I Agree": the strip shows the frame page around the maker's advert.
    void checkAdvertStrip() {
        auto* strip = need<QWidget>("WebBrowser1");
        const QUrl shown = strip->property("url").toUrl();
        expect(shown.isLocalFile() && shown.fileName() == QStringLiteral("iFrame_page.html"),
               QStringLiteral("the advert strip shows %1").arg(shown.toString()));
        expectEq(framedPage(), QStringLiteral("<iframe src=\"adsbase.html\""), QStringLiteral("the frame page"));
        expect(QFileInfo(workFile("adsbase.html")).size() > 0, QStringLiteral("adsbase.html is missing or empty"));
    }

    void answerMessageBoxes() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || box->property("selvaneE2eSeen").toBool()) return;
        box->setProperty("selvaneE2eSeen", true);
        messages_.append({box->windowTitle(), box->text()});
        QTimer::singleShot(0, box, [box] { box->accept(); });
    }

    template <typename W>
    W* need(const char* name) {
        W* w = window_->findChild<W*>(QString::fromLatin1(name));
        if (!w) throw Failure(std::string("no widget named ") + name);
        return w;
    }

    void waitUntil(const std::function<bool()>& done, const QString& what, int limitMs = kStepLimitMs) {
        step_ = what;
        if (!QTest::qWaitFor(done, limitMs))
            throw Failure(QStringLiteral("waited %1 s for: %2").arg(limitMs / 1000).arg(what).toStdString());
    }

    void expect(bool ok, const QString& what) {
        if (!ok) failures_ << what;
    }
    void expectEq(const QString& actual, const QString& expected, const QString& what) {
        if (actual != expected) failures_ << QStringLiteral("%1: the window shows \"%2\", selvane-cli \"%3\"").arg(what, actual, expected);
    }

    void run() {
        try {
            drive();
        } catch (const std::exception& e) {
            failures_ << QStringLiteral("stopped: %1").arg(QString::fromStdString(e.what()));
            noteWindowState();
        }
        writeReport();
        deadline_.stop();
        if (window_) window_->close();
    }

    void drive() {
        step_ = QStringLiteral("the window showing");
        if (!QTest::qWaitForWindowExposed(window_->windowHandle(), kStepLimitMs)) throw Failure("the window never showed");
        if (!window_->screen()->geometry().contains(window_->frameGeometry()))
            throw Failure("the screen is smaller than the window: run under a larger Xvfb screen");
        checkAdvertStrip();
        auto* download = need<QPushButton>("cmdDownload");
        auto* dates = need<QComboBox>("cmbDateRaces");
        auto* tracks = need<QComboBox>("cmbTrackName");
        auto* races = need<QTreeWidget>("lstRaceName");
        auto* runners = need<QTreeWidget>("lstRaces");
        auto* tips = need<QTreeWidget>("lstTips");
        auto* grid = need<QTableWidget>("msfResults");
        auto* results = need<QTreeWidget>("lstResults");
        auto* resultText = need<QLineEdit>("txtResults");
        auto* ticker = need<QLabel>("lblScrollResults");
        auto* status = need<QLabel>("stBarPanel2");
        auto* title = need<QLabel>("lblTitle");
        auto* meeting = need<QLabel>("lblMeeting");

        // 1. Download Race Meetings: the window goes busy, then shows the day, its meetings
        // and the first meeting's races.
        BusyWatch busy;
        download->installEventFilter(&busy);
        QTest::mouseClick(download, Qt::LeftButton);
        waitUntil([&] { return busy.disabledSeen && download->isEnabled() && tracks->count() > kTrackEntry && races->topLevelItemCount() > 0; },
                  QStringLiteral("the meetings after Download Race Meetings"));
        download->removeEventFilter(&busy);
        expect(busy.disabledSeen, QStringLiteral("the window was not disabled while the meetings downloaded"));
        notes_ << QStringLiteral("paints of the disabled download button while busy: %1").arg(busy.disabledPaints);
        expectEq(dates->currentText(), s_.date, QStringLiteral("the date box"));
        expectEq(tracks->currentText(), tracks->itemText(0), QStringLiteral("the track box after the download"));

        // 2. Another track, chosen from the keyboard: the box's text changes and its command runs.
        const QString track = tracks->itemText(kTrackEntry);
        tracks->setFocus();
        QTest::keyClick(tracks, Qt::Key_Down);
        waitUntil([&] { return meeting->text() == QStringLiteral("Meeting: ") + track && races->topLevelItemCount() > kRaceRow; },
                  QStringLiteral("the races of ") + track);
        expectEq(title->text(), QStringLiteral("Racecourse: ") + track, QStringLiteral("the title after choosing the track"));

        // 3. Double-click a race: its field, tips, best bet and the meeting's results.
        const QString raceNumber = doubleClickRace(races, kRaceRow);
        auto* shownRace = need<QLabel>("lblRaceNumber");
        waitUntil([&] { return download->isEnabled() && shownRace->text() == raceNumber && runners->topLevelItemCount() > 0 &&
                               tips->topLevelItemCount() > 0 && results->topLevelItemCount() > 0; },
                  QStringLiteral("race %1 of %2").arg(raceNumber, track));
        // The results come last in the same command; let queued paints and clicks run out.
        QTest::qWait(300);

        const nlohmann::json cli = runCli({QStringLiteral("race"), track, raceNumber});
        compareRace(cli, runners, tips, grid, status);
        compareResults(cli, results, resultText, ticker);
        compareLabels(cli);
        checkLayout(runners, races, results);

        // The ticker moves along its strip: 4 twips a tick, a pixel every few ticks.
        const int before = ticker->x();
        expect(!ticker->text().isEmpty(), QStringLiteral("the ticker is empty"));
        expect(QTest::qWaitFor([&] { return ticker->x() < before; }, 5000),
               QStringLiteral("the ticker stood still at x=%1 for 5 s").arg(before));

        summary_ = QStringLiteral("%1 race %2 (%3): %4 runners, %5 tips, \"%6\", %7 result rows, result \"%8\"")
                       .arg(track, raceNumber, s_.date)
                       .arg(runners->topLevelItemCount())
                       .arg(tips->topLevelItemCount())
                       .arg(status->text())
                       .arg(results->topLevelItemCount())
                       .arg(resultText->text());
        saveScreenshot();

        // 4. Live Results: this race has run (its result tables on black); the meeting's last
        // race has not (the placeholder).
        showLiveResults(raceNumber, QStringLiteral(" - #"), QStringLiteral("-results.png"));
        const QString lastRace = doubleClickRace(races, races->topLevelItemCount() - 1);
        waitUntil([&] { return download->isEnabled() && shownRace->text() == lastRace; }, QStringLiteral("race ") + lastRace);
        QTest::qWait(300);
        showLiveResults(lastRace, QStringLiteral(" - #R."), QStringLiteral("-placeholder.png"));

        // 5. Live Odds for the same race: every runner's row as selvane-cli odds gives it.
        showLiveOdds(track, lastRace);
    }

    // Double-clicks the race list's row on its race number (the row is wider than the list).
    QString doubleClickRace(QTreeWidget* races, int index) {
        QTreeWidgetItem* row = races->topLevelItem(index);
        races->scrollToItem(row);
        const QPoint at(races->header()->sectionViewportPosition(1) + 10, races->visualItemRect(row).center().y());
        QTest::mouseClick(races->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(races->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(races->viewport(), Qt::LeftButton, {}, at);
        return row->text(1);
    }

    // The results window runs its own modal loop inside the command, so a timer shoots and
    // closes it while this step waits.
    void showLiveResults(const QString& race, const QString& marker, const QString& suffix) {
        resultsShot_ = s_.shot;
        resultsShot_.replace(QRegularExpression(QStringLiteral("\\.png$")), suffix);
        const int before = resultsShown_;
        QTest::mouseClick(need<QPushButton>("cmdLiveResults"), Qt::LeftButton);
        waitUntil([&] { return resultsShown_ > before; }, QStringLiteral("the results window of race ") + race);
        const QString padded = race.size() < 2 ? QStringLiteral("0") + race : race;
        expect(resultsHeading_.endsWith(marker + padded),
               QStringLiteral("the results window's heading \"%1\" does not end \"%2\"").arg(resultsHeading_, marker + padded));
        notes_ << QStringLiteral("results window of race %1: \"%2\", %3").arg(race, resultsHeading_, resultsShot_);
    }

    void showLiveOdds(const QString& track, const QString& race) {
        oddsShot_ = s_.shot;
        oddsShot_.replace(QRegularExpression(QStringLiteral("\\.png$")), QStringLiteral("-odds.png"));
        const int before = oddsShown_;
        QTest::mouseClick(need<QPushButton>("cmdLiveOdds"), Qt::LeftButton);
        waitUntil([&] { return oddsShown_ > before; }, QStringLiteral("the odds window of race ") + race);
        const QString padded = race.size() < 2 ? QStringLiteral("0") + race : race;
        expect(oddsHeading_.endsWith(QStringLiteral(" - #R.") + padded),
               QStringLiteral("the odds window's heading \"%1\" does not end \" - #R.%2\"").arg(oddsHeading_, padded));
        const nlohmann::json cli = runCli({QStringLiteral("odds"), track, race});
        const auto& rows = cli.at("rows");
        expect(!oddsRows_.isEmpty(), QStringLiteral("the odds window has no rows"));
        expect(oddsRows_.size() == static_cast<int>(rows.size()),
               QStringLiteral("%1 odds rows in the window, %2 from selvane-cli").arg(oddsRows_.size()).arg(rows.size()));
        for (int i = 0; i < std::min<int>(oddsRows_.size(), static_cast<int>(rows.size())); ++i) {
            QStringList want{text(rows[i].at("number")), text(rows[i].at("name")), text(rows[i].at("best"))};
            for (const auto& p : rows[i].at("prices")) want << text(p);
            expectEq(oddsRows_[i].join(QLatin1Char('|')), want.join(QLatin1Char('|')), QStringLiteral("odds row %1").arg(i + 1));
        }
        notes_ << QStringLiteral("odds window of race %1: \"%2\", %3 rows, %4").arg(race, oddsHeading_).arg(oddsRows_.size()).arg(oddsShot_);
    }

    // A secondary window as the screen shows it, saved to path; returns its heading.
    QString shootWindow(QWidget* top, const QString& path) {
        const QRect f = top->frameGeometry();
        const QImage shot = top->screen()->grabWindow(0, f.x(), f.y(), f.width(), f.height()).toImage();
        if (!shot.save(path, "PNG")) failures_ << QStringLiteral("could not write ") + path;
        auto* heading = top->findChild<QLabel*>(QStringLiteral("lblMeetingName"));
        return heading ? heading->text() : QString();
    }

    void shootOddsWindow(QWidget* top) {
        top->setProperty("selvaneE2eSeen", true);
        QTimer::singleShot(800, top, [this, top] {
            oddsHeading_ = shootWindow(top, oddsShot_);
            oddsRows_.clear();
            if (auto* list = top->findChild<QTreeWidget*>(QStringLiteral("lstOddsSort")))
                for (int r = 0; r < list->topLevelItemCount(); ++r) {
                    QStringList cells;
                    for (int c = 0; c < list->columnCount(); ++c) cells << list->topLevelItem(r)->text(c);
                    oddsRows_ << cells;
                }
            ++oddsShown_;
            QTest::mouseClick(top->findChild<QPushButton*>(QStringLiteral("cmdClose")), Qt::LeftButton);
        });
    }

    void shootResultsWindow() {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (top->objectName() == QLatin1String("frmLiveOdds") && top->isVisible() && !top->property("selvaneE2eSeen").toBool())
                shootOddsWindow(top);
            if (top->objectName() != QLatin1String("frmResults") || !top->isVisible() || top->property("selvaneE2eSeen").toBool())
                continue;
            top->setProperty("selvaneE2eSeen", true);
            // Time for the wrapper and its frame to load and paint.
            QTimer::singleShot(2500, top, [this, top] {
                resultsHeading_ = shootWindow(top, resultsShot_);
                ++resultsShown_;
                QTest::mouseClick(top->findChild<QPushButton*>(QStringLiteral("cmdClose")), Qt::LeftButton);
            });
        }
    }

    // words: the command and its arguments, e.g. {"race", track, race}.
    nlohmann::json runCli(const QStringList& words) {
        const std::string name = "selvane-cli " + words.first().toStdString();
        step_ = QString::fromStdString(name);
        QProcess cli;
        cli.start(s_.cli, words + QStringList{QStringLiteral("--date"), s_.date, QStringLiteral("--form-guide"), s_.formGuide,
                                              QStringLiteral("--results-site"), s_.resultsSite, QStringLiteral("--json")});
        if (!cli.waitForFinished(kStepLimitMs)) {
            cli.kill();
            cli.waitForFinished(5000);
            throw Failure(name + " did not finish");
        }
        if (cli.exitStatus() != QProcess::NormalExit || cli.exitCode() != 0)
            throw Failure(name + " failed: " + cli.readAllStandardError().toStdString());
        return nlohmann::json::parse(cli.readAllStandardOutput().toStdString());
    }

    void compareRace(const nlohmann::json& cli, QTreeWidget* runners, QTreeWidget* tips, QTableWidget* grid, QLabel* status) {
        const auto& field = cli.at("field");
        expect(runners->topLevelItemCount() == static_cast<int>(field.size()),
               QStringLiteral("%1 runners in the window, %2 from selvane-cli").arg(runners->topLevelItemCount()).arg(field.size()));
        const char* fieldKeys[] = {"number", "form", "name", "jockey", "weight", "barrier"};
        for (int i = 0; i < std::min<int>(runners->topLevelItemCount(), static_cast<int>(field.size())); ++i)
            for (int c = 0; c < 6; ++c)
                expectEq(runners->topLevelItem(i)->text(c), text(field[i].at(fieldKeys[c])),
                         QStringLiteral("runner %1 %2").arg(i + 1).arg(QLatin1String(fieldKeys[c])));

        const auto& expectedTips = cli.at("tips");
        expect(tips->topLevelItemCount() == 5 && expectedTips.size() == 5,
               QStringLiteral("%1 tips in the window, %2 from selvane-cli").arg(tips->topLevelItemCount()).arg(expectedTips.size()));
        const char* tipKeys[] = {"label", "runner", "win", "barrier"};
        for (int i = 0; i < std::min<int>(tips->topLevelItemCount(), static_cast<int>(expectedTips.size())); ++i)
            for (int c = 0; c < 4; ++c)
                expectEq(tips->topLevelItem(i)->text(c), text(expectedTips[i].at(tipKeys[c])),
                         QStringLiteral("tip %1 %2").arg(i + 1).arg(QLatin1String(tipKeys[c])));

        // The grid below its header row; the best bet's row is the one coloured.
        const auto& expectedGrid = cli.at("grid");
        expect(grid->rowCount() - 1 == static_cast<int>(expectedGrid.size()),
               QStringLiteral("%1 grid rows in the window, %2 from selvane-cli").arg(grid->rowCount() - 1).arg(expectedGrid.size()));
        int highlighted = 0;
        for (int r = 1; r < std::min<int>(grid->rowCount(), static_cast<int>(expectedGrid.size()) + 1); ++r) {
            for (int c = 0; c < 4; ++c)
                expectEq(grid->item(r, c) ? grid->item(r, c)->text() : QString(), text(expectedGrid[r - 1].at(tipKeys[c])),
                         QStringLiteral("grid row %1 %2").arg(r).arg(QLatin1String(tipKeys[c])));
            const bool coloured = grid->item(r, 1) && grid->item(r, 1)->background().color() == QColor(0x00, 0xC0, 0xC0);
            const bool best = expectedGrid[r - 1].at("highlight").get<bool>();
            highlighted += best ? 1 : 0;
            expect(coloured == best, QStringLiteral("grid row %1 is %2coloured as the best bet").arg(r).arg(coloured ? "" : "not "));
        }
        expect(highlighted == 1, QStringLiteral("selvane-cli marks %1 best-bet rows").arg(highlighted));
        expectEq(status->text(), text(cli.at("status")), QStringLiteral("the best-bet status line"));
        expect(status->text().startsWith(QStringLiteral("Tip each way best bet")), QStringLiteral("no best bet in the status bar"));
        expect(!cli.at("warning").is_string(), QStringLiteral("the race has a warning: %1").arg(text(cli.at("warning"))));

        QStringList shown, printed;
        for (const auto& [title, body] : messages_) shown << title + QStringLiteral(": ") + body;
        for (const auto& m : cli.at("messages")) printed << text(m.at("title")) + QStringLiteral(": ") + text(m.at("text"));
        expectEq(shown.join(QStringLiteral(" | ")), printed.join(QStringLiteral(" | ")), QStringLiteral("the message boxes"));
    }

    void compareResults(const nlohmann::json& cli, QTreeWidget* results, QLineEdit* resultText, QLabel* ticker) {
        const auto& rows = cli.at("results");
        expect(results->topLevelItemCount() == static_cast<int>(rows.size()) && !rows.empty(),
               QStringLiteral("%1 result rows in the window, %2 from selvane-cli").arg(results->topLevelItemCount()).arg(rows.size()));
        const char* keys[] = {"link", "race", "track", "result"};
        QSet<QString> states;
        for (int i = 0; i < std::min<int>(results->topLevelItemCount(), static_cast<int>(rows.size())); ++i) {
            for (int c = 0; c < 4; ++c)
                expectEq(results->topLevelItem(i)->text(c), text(rows[i].at(keys[c])),
                         QStringLiteral("result row %1 %2").arg(i + 1).arg(QLatin1String(keys[c])));
            states << results->topLevelItem(i)->text(3);
        }
        // At 14:00 the meeting has run races and races still to come.
        expect(states.size() >= 2, QStringLiteral("every race of the meeting shows the same result state"));
        expectEq(resultText->text(), text(cli.at("resultText")), QStringLiteral("the race's result"));
        expect(!resultText->text().isEmpty(), QStringLiteral("the race's result is empty"));
        expectEq(ticker->text(), text(cli.at("ticker")), QStringLiteral("the ticker"));
    }

    void compareLabels(const nlohmann::json& cli) {
        const auto& race = cli.at("race");
        const std::pair<const char*, const char*> labels[] = {
            {"lblTrackName", "track"}, {"lblRaceNumber", "number"}, {"lblRaceTime", "time"}, {"lblRaceLength", "length"}};
        for (const auto& [name, key] : labels)
            expectEq(need<QLabel>(name)->text(), shownCaption(text(race.at(key))), QString::fromLatin1(name));
    }

    // What a punter must read without scrolling: the runners' barriers, the races' track names
    // and the results of the meeting's races, with their race numbers.
    void checkLayout(QTreeWidget* runners, QTreeWidget* races, QTreeWidget* results) {
        auto fits = [](QTreeWidget* list, int column, int width) {
            const int left = list->header()->sectionViewportPosition(column);
            return left >= 0 && left + width <= list->viewport()->width();
        };
        expect(fits(runners, 5, runners->columnWidth(5)), QStringLiteral("the runner list's Barrier column is cut off"));
        int longest = races->header()->fontMetrics().horizontalAdvance(races->headerItem()->text(3));
        for (int i = 0; i < races->topLevelItemCount(); ++i)
            longest = std::max(longest, races->fontMetrics().horizontalAdvance(races->topLevelItem(i)->text(3)));
        expect(fits(races, 3, longest + 8), QStringLiteral("the race list's track names are cut off"));
        expect(fits(results, 1, results->columnWidth(1)) && fits(results, 3, results->columnWidth(3)),
               QStringLiteral("the results list's race numbers or results are cut off"));
    }

    void saveScreenshot() {
        step_ = QStringLiteral("the screenshot");
        QTest::qWait(200);
        const QRect frame = window_->frameGeometry();
        const QImage shot = window_->screen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height()).toImage();
        QSet<QRgb> colours;
        for (int y = 0; y < shot.height(); y += 7)
            for (int x = 0; x < shot.width(); x += 7) colours << shot.pixel(x, y);
        expect(colours.size() > 8, QStringLiteral("the screenshot is nearly blank (%1 colours)").arg(colours.size()));
        if (!shot.save(s_.shot, "PNG")) failures_ << QStringLiteral("could not write ") + s_.shot;
        notes_ << QStringLiteral("screenshot %1: %2x%3").arg(s_.shot).arg(shot.width()).arg(shot.height());
    }

    // What the window showed when a step gave up.
    void noteWindowState() {
        for (const char* name : {"lblTitle", "lblMeeting", "lblRaceNumber", "stBarPanel2", "lblScrollResults"})
            if (auto* l = window_->findChild<QLabel*>(QString::fromLatin1(name)))
                notes_ << QStringLiteral("%1: \"%2\"").arg(QLatin1String(name), l->text());
        for (const char* name : {"lstRaceName", "lstRaces", "lstTips", "lstResults"})
            if (auto* l = window_->findChild<QTreeWidget*>(QString::fromLatin1(name)))
                notes_ << QStringLiteral("%1: %2 rows, current %3").arg(QLatin1String(name)).arg(l->topLevelItemCount())
                              .arg(l->currentItem() ? l->indexOfTopLevelItem(l->currentItem()) : -1);
        if (auto* b = window_->findChild<QPushButton*>(QStringLiteral("cmdDownload")))
            notes_ << QStringLiteral("cmdDownload enabled: %1").arg(b->isEnabled());
    }

    void writeReport() {
        QFile out(s_.report);
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) return;
        QStringList lines{failures_.isEmpty() ? QStringLiteral("PASS") : QStringLiteral("FAIL")};
        if (!summary_.isEmpty()) lines << summary_;
        for (const QString& f : failures_) lines << QStringLiteral("  failed: ") + f;
        for (const QString& n : notes_) lines << QStringLiteral("  ") + n;
        out.write((lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
    }

    Settings s_;
    QTimer poll_, modal_, results_, deadline_;
    QString resultsShot_, resultsHeading_;
    int resultsShown_ = 0;
    QString oddsShot_, oddsHeading_;
    QList<QStringList> oddsRows_;
    int oddsShown_ = 0;
    QWidget* window_ = nullptr;
    QElapsedTimer splashSeen_;
    bool declined_ = false, pressedEarly_ = false, splashShot_ = false;
    QString step_ = QStringLiteral("waiting for the main window");
    QString summary_;
    QStringList failures_, notes_;
    QList<QPair<QString, QString>> messages_;
};

class DriverPlugin : public QGenericPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "e2e_driver.json")

public:
    QObject* create(const QString& key, const QString&) override {
        // Only the program under test: its helper processes inherit the environment.
        qunsetenv("QT_QPA_GENERIC_PLUGINS");
        const QString program = env("SELVANE_E2E_PROGRAM");
        if (key != QLatin1String("selvane-e2e") || program.isEmpty() ||
            QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath() != QFileInfo(program).canonicalFilePath())
            return nullptr;
        return new Driver(Settings{env("SELVANE_E2E_REPORT"), env("SELVANE_E2E_SHOT"), env("SELVANE_E2E_CLI"),
                                   env("SELVANE_E2E_FORM_GUIDE"), env("SELVANE_E2E_RESULTS_SITE"), env("SELVANE_E2E_DATE"),
                                   env("SELVANE_E2E_SPLASH").isEmpty() ? QStringLiteral("accept") : env("SELVANE_E2E_SPLASH"),
                                   env("SELVANE_E2E_SPLASH_SHOT")});
    }
};

}  // namespace

#include "e2e_driver.moc"
