#include "config/configfile.h"

#include "testfiles.h"
#include <QtTest>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#endif

// What both families' configuration files share: reading the lines, saving, the checks
// of line 1 and line 4 and the reading of hexadecimal fields. The families' tests cover
// their data lines and error numbers.

namespace {

const QByteArray TwoPortFactoryFile("config\r\n88,88,D6,00,00;\r\n02,80,08,C0;\r\nAE081DDD12F256\r\n");
const QByteArray SinglePortFactoryFile("config\r\nAA,AA,D6,07;\r\nAA,C0;\r\nAE081DDD12F256\r\n");

QStringList fileOf(const QString &line2, const QString &line3)
{
    return {"config", line2, line3, "AE081DDD12F256"};
}

} // namespace

class tst_ConfigFile : public QObject
{
    Q_OBJECT
private slots:
    void readLines_data();
    void readLines();
    void readLinesOfNoRegularFile_data();
    void readLinesOfNoRegularFile();
    void overlongLineIsCut();
    void contentsOfLines();
    void saveWithoutLinesWritesNothing();
    void failedSaveKeepsTheOldFile_data();
    void failedSaveKeepsTheOldFile();
    void saveIntoMissingFolderFails();
    void saveOntoNoRegularFileFails();
    void fieldReader_data();
    void fieldReader();
    void applyChecksTheFrame_data();
    void applyChecksTheFrame();
    void stopByTextReportsNoCode();

private:
    QTemporaryDir dir_;
};

void tst_ConfigFile::readLines_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("CR LF") << QByteArray("config\r\nA\r\nB\r\nM\r\n") << QStringList{"config", "A", "B", "M"};
    QTest::newRow("LF only") << QByteArray("config\nA\nB\nM\n") << QStringList{"config", "A", "B", "M"};
    QTest::newRow("no final line end") << QByteArray("config\r\nA\r\nB\r\nM") << QStringList{"config", "A", "B", "M"};
    QTest::newRow("mixed, no final line end") << QByteArray("config\r\nA\nB\r\nM") << QStringList{"config", "A", "B", "M"};
    QTest::newRow("fifth line ignored") << QByteArray("config\nA\nB\nM\nextra\n") << QStringList{"config", "A", "B", "M"};
    QTest::newRow("missing line 4 reads empty") << QByteArray("config\nA\nB\n") << QStringList{"config", "A", "B", ""};
    QTest::newRow("missing lines 3 and 4 read empty") << QByteArray("config\nA\n") << QStringList{"config", "A", "", ""};
    QTest::newRow("empty file") << QByteArray() << QStringList{"", "", "", ""};
    QTest::newRow("a CR inside a line stays") << QByteArray("con\rfig\n") << QStringList{"con\rfig", "", "", ""};
    QTest::newRow("trailing blank stays") << QByteArray("config \n") << QStringList{"config ", "", "", ""};
}

void tst_ConfigFile::readLines()
{
    QFETCH(QByteArray, contents);
    QFETCH(QStringList, lines);
    const QString path = dir_.filePath(QStringLiteral("lines-%1.txt").arg(QTest::currentDataTag()));
    QVERIFY(writeAll(path, contents));
    QCOMPARE(configfile::readLines(path), lines);
}

void tst_ConfigFile::readLinesOfNoRegularFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("missing file") << "missing";
    QTest::newRow("directory") << "directory";
#ifdef Q_OS_UNIX
    // Opening a FIFO for reading waits for a writer; /dev/zero never ends a line.
    QTest::newRow("FIFO without a writer") << "fifo";
    QTest::newRow("endless device") << "/dev/zero";
#endif
}

void tst_ConfigFile::readLinesOfNoRegularFile()
{
    QFETCH(QString, kind);
    QString path = kind;
    if (kind == "missing") {
        path = dir_.filePath("does-not-exist.txt");
    } else if (kind == "directory") {
        path = dir_.filePath("a-folder.txt");
        QVERIFY(QDir().mkpath(path));
    } else if (kind == "fifo") {
        path = dir_.filePath("a-fifo.txt");
#ifdef Q_OS_UNIX
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
#endif
    }
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(configfile::readLines(path), QStringList({"", "", "", ""}));
    // No time is the behaviour here, only a guard: a read that opened the FIFO would wait
    // for a writer, one that read /dev/zero would go on for as long as memory lasted; a
    // look at the file's kind takes microseconds, so the bound is generous for a loaded machine.
    QVERIFY2(clock.elapsed() < 5000, qPrintable(QString::number(clock.elapsed())));
}

void tst_ConfigFile::overlongLineIsCut()
{
    const QString path = dir_.filePath("long.txt");
    QVERIFY(writeAll(path, "config\n" + QByteArray(100000, 'A') + "\nAA,C0;\nAE081DDD12F256\n"));
    const QStringList lines = configfile::readLines(path);
    QCOMPARE(lines.size(), 4);
    QVERIFY(lines[1].size() < 1000);
    QCOMPARE(lines[2], QStringLiteral("AA,C0;"));
    QCOMPARE(lines[3], QStringLiteral("AE081DDD12F256"));
}

void tst_ConfigFile::contentsOfLines()
{
    QCOMPARE(configfile::contents(QStringList{"config", "AA,AA,D6,07;", "AA,C0;", "AE081DDD12F256"}),
             SinglePortFactoryFile);
    QVERIFY(!configfile::contents(std::optional<QStringList>()).has_value());
}

void tst_ConfigFile::saveWithoutLinesWritesNothing()
{
    const QString path = dir_.filePath("incomplete.txt");
    QVERIFY(writeAll(path, "old contents"));
    QVERIFY(!configfile::save(path, std::optional<QStringList>()));
    QCOMPARE(readAll(path), QByteArray("old contents"));
    QVERIFY(!configfile::save(dir_.filePath("never.txt"), std::optional<QStringList>()));
    QVERIFY(!QFile::exists(dir_.filePath("never.txt")));
}

void tst_ConfigFile::failedSaveKeepsTheOldFile_data()
{
    QTest::addColumn<QByteArray>("old");
    QTest::addColumn<QByteArray>("contents");
    QTest::newRow("two-port file") << QByteArray("config\r\n11,11,C8,00,00;\r\n00,00,00,00;\r\nAE081DDD12F256\r\n")
                                   << TwoPortFactoryFile;
    QTest::newRow("single-port file") << QByteArray("config\r\n11,11,C8,00;\r\n00,00;\r\nAE081DDD12F256\r\n")
                                      << SinglePortFactoryFile;
}

void tst_ConfigFile::failedSaveKeepsTheOldFile()
{
#ifdef Q_OS_UNIX
    QFETCH(QByteArray, old);
    QFETCH(QByteArray, contents);
    const QString name = QStringLiteral("kept-%1.txt").arg(QTest::currentDataTag()).replace(' ', '-');
    const QString path = dir_.filePath(name);
    QVERIFY(writeAll(path, old));

    // A file system that takes no more than 16 bytes per file, like a full disk.
    rlimit saved{};
    QVERIFY(::getrlimit(RLIMIT_FSIZE, &saved) == 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 16;
    QVERIFY(::setrlimit(RLIMIT_FSIZE, &small) == 0);
    QString reason;
    const bool saved16 = configfile::save(path, contents, &reason);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    QVERIFY(!saved16);
    QVERIFY(!reason.isEmpty());
    QCOMPARE(readAll(path), old);
    // No temporary file is left behind.
    QCOMPARE(QDir(dir_.path()).entryList({name + "*"}, QDir::Files | QDir::Hidden), QStringList{name});
#else
    QSKIP("needs a file size limit");
#endif
}

void tst_ConfigFile::saveIntoMissingFolderFails()
{
    QString reason;
    QVERIFY(!configfile::save(dir_.filePath("no/such/folder/config.txt"), TwoPortFactoryFile, &reason));
    QVERIFY(!reason.isEmpty());
    QVERIFY(!configfile::save(dir_.filePath("no/such/folder/config.txt"), fileOf("AA,AA,D6,07;", "AA,C0;")));
}

// Saving renames a temporary file over the target: a FIFO or device would be replaced by
// a plain file (as root even /dev/null). It is left as it is and the save fails.
void tst_ConfigFile::saveOntoNoRegularFileFails()
{
#ifdef Q_OS_UNIX
    const QString fifo = dir_.filePath("save-fifo.txt");
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QVERIFY(!configfile::save(fifo, fileOf("AA,AA,D6,07;", "AA,C0;")));
    QVERIFY(!QFileInfo(fifo).isFile());
    QString reason;
    QVERIFY(!configfile::save(fifo, "x", &reason));
    QVERIFY(!reason.isEmpty());
    QVERIFY(QDir(dir_.path()).entryList(QDir::Files).filter("save-fifo").isEmpty());   // no temporary left
#else
    QSKIP("FIFOs are a Unix matter");
#endif
}

void tst_ConfigFile::fieldReader_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("value");   // -1: no number
    QTest::addColumn<QString>("invalidText");
    QTest::newRow("upper case") << "AA,D6;" << 3 << 2 << 0xD6 << QString();
    QTest::newRow("lower case") << "aa,d6;" << 3 << 2 << 0xD6 << QString();
    QTest::newRow("one digit") << "A5" << 1 << 1 << 5 << QString();
    QTest::newRow("letter beyond F") << "AG" << 0 << 2 << -1 << "AG";
    QTest::newRow("minus sign") << "-1" << 0 << 2 << -1 << "-1";
    QTest::newRow("blank") << " 7" << 0 << 2 << -1 << " 7";
    QTest::newRow("a separator") << "A," << 0 << 2 << -1 << "A,";
}

void tst_ConfigFile::fieldReader()
{
    QFETCH(QString, line);
    QFETCH(int, offset);
    QFETCH(int, length);
    QFETCH(int, value);
    QFETCH(QString, invalidText);
    configfile::LoadResult result;
    const configfile::FieldReader hex{line, result};
    const std::optional<int> read = hex(offset, length);
    QCOMPARE(read.value_or(-1), value);
    QCOMPARE(result.notHexadecimal, value < 0);
    QCOMPARE(result.invalidText, invalidText);
    QCOMPARE(result.ok(), value >= 0);
}

void tst_ConfigFile::applyChecksTheFrame_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("code");   // 1: wrong length, 2: wrong text, 0: correct
    QTest::newRow("correct") << fileOf("x", "y") << 0;
    QTest::newRow("Config with capital C") << QStringList{"Config", "x", "y", "AE081DDD12F256"} << 2;
    QTest::newRow("marker in lower case") << QStringList{"config", "x", "y", "ae081ddd12f256"} << 2;
    QTest::newRow("config followed by a space") << QStringList{"config ", "x", "y", "AE081DDD12F256"} << 1;
    QTest::newRow("marker with a trailing blank") << QStringList{"config", "x", "y", "AE081DDD12F256 "} << 1;
    QTest::newRow("marker line missing") << QStringList{"config", "x", "y", ""} << 1;
    QTest::newRow("four empty lines (an unreadable file)") << QStringList{"", "", "", ""} << 1;
    QTest::newRow("fewer than four lines") << QStringList{"config"} << 1;
    QTest::newRow("wrong length wins over wrong text") << QStringList{"CONFIG", "x", "y", "marker"} << 1;
}

void tst_ConfigFile::applyChecksTheFrame()
{
    QFETCH(QStringList, lines);
    QFETCH(int, code);
    QStringList entered;
    const auto step = [&entered](const QString &line, configfile::LoadResult &) {
        entered << line;
        return true;
    };
    const configfile::LoadResult result = configfile::apply(lines, {1, 2}, step, step);
    QCOMPARE(result.errorCode, code);
    QVERIFY(!result.notHexadecimal);
    // A wrong line 1 or 4 enters nothing; otherwise line 2, then line 3.
    QCOMPARE(entered, code == 0 ? (QStringList{"x", "y"}) : QStringList());
}

void tst_ConfigFile::stopByTextReportsNoCode()
{
    QStringList entered;
    // Line 2 finds an error code, then line 3 stops on text that is no number.
    const auto line2 = [&entered](const QString &line, configfile::LoadResult &result) {
        entered << line;
        result.errorCode = 5;
        return true;
    };
    const auto line3 = [&entered](const QString &line, configfile::LoadResult &result) {
        entered << line;
        return configfile::FieldReader{line, result}(0, 2).has_value();
    };
    configfile::LoadResult result = configfile::apply(fileOf("x", "ZZ"), {1, 2}, line2, line3);
    QCOMPARE(result.errorCode, 0);
    QVERIFY(result.notHexadecimal);
    QCOMPARE(result.invalidText, QStringLiteral("ZZ"));
    QCOMPARE(entered, (QStringList{"x", "ZZ"}));

    // A stop in line 2 does not go on to line 3.
    entered.clear();
    const auto stop = [&entered](const QString &line, configfile::LoadResult &) {
        entered << line;
        return false;
    };
    result = configfile::apply(fileOf("x", "y"), {1, 2}, stop, line3);
    QCOMPARE(entered, QStringList{"x"});
    QCOMPARE(result.errorCode, 0);
}

QTEST_GUILESS_MAIN(tst_ConfigFile)
#include "tst_configfile.moc"
