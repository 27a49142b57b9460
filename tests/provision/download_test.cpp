#include "loopback_server.h"
#include "provision/download.h"
#include "provision/download_wait.h"
#include "support/app_fixture.h"
#include "ui/status_bar.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QProgressBar>
#include <QRegularExpression>
#include <QTemporaryDir>

using namespace corvel;

namespace {

struct HeaderCase {
    const char* name;
    QString text;
    qint64 expected;
};

TEST(ContentLength, IsReadFromTheFirstLineThatNamesIt) {
    const QString crlf = QStringLiteral("\r\n");
    const HeaderCase cases[] = {
        {"empty text", QString(), 0},
        {"no length line", QStringLiteral("HTTP/1.1 200 OK") + crlf + crlf, 0},
        {"lower case name", QStringLiteral("content-length: 12") + crlf + crlf, 0},
        {"no blank after colon", QStringLiteral("Content-Length:12") + crlf + crlf, 0},
        {"one blank, CR LF end", QStringLiteral("Content-Length: 12") + crlf + crlf, 12},
        {"two blanks", QStringLiteral("Content-Length:  12") + crlf + crlf, 0},
        {"digits then junk", QStringLiteral("Content-Length: 34x5") + crlf, 34},
        {"first of two blocks",
         QStringLiteral("Content-Length: 11") + crlf + crlf + QStringLiteral("Content-Length: 22") +
             crlf + crlf,
         11},
        {"huge value does not overflow", QStringLiteral("Content-Length: 99999999999999999999999"),
         999999999999999999},
    };
    for (const HeaderCase& c : cases)
        EXPECT_EQ(contentLengthFromHeaders(c.text), c.expected) << c.name;
}

// Waits the way the version file is waited for: quietly, with a bare state and no window.
int waitQuietly(std::unique_ptr<DownloadTransfer>& transfer) {
    AppState state;
    return waitForDownload(state, transfer, std::nullopt);
}

class Download : public ::testing::Test {
protected:
    static void SetUpTestSuite() { s_server = new test::LoopbackServer; }
    static void TearDownTestSuite() {
        delete s_server;
        s_server = nullptr;
    }
    void SetUp() override { ASSERT_TRUE(s_server->running()); }
    QString target(const QString& name) const { return m_folder.filePath(name); }

    static test::LoopbackServer* s_server;
    QTemporaryDir m_folder;
};

test::LoopbackServer* Download::s_server = nullptr;

TEST_F(Download, ProbeFollowsRedirectsAndTakesTheFirstAnnouncedLength) {
    const QString headers = fetchHeaderText(s_server->url(QStringLiteral("redirect/1")));
    const qsizetype first = headers.indexOf(QStringLiteral("302 Found"));
    const qsizetype last = headers.indexOf(QStringLiteral("200 OK"));
    EXPECT_GE(first, 0);
    EXPECT_GT(last, first);
    EXPECT_TRUE(headers.endsWith(QStringLiteral("\r\n\r\n")));
    EXPECT_EQ(probeContentLength(s_server->url(QStringLiteral("redirect/1"))), 11);
    EXPECT_EQ(probeContentLength(s_server->url(QStringLiteral("nolength.bin"))), 0);
    EXPECT_EQ(fetchHeaderText(QStringLiteral("http://127.0.0.1:1/none")), QString());
    EXPECT_EQ(probeContentLength(s_server->httpsUrl(QStringLiteral("redirect/1"))), 0);
}

struct TransferCase {
    const char* route;
    bool https;
    int state;
    QByteArray content; // expected file content when Succeeded
};

// Every way a transfer can end, and what it leaves under the target name: the whole body, or
// nothing at all (neither a partial file, nor an error page, nor the file that stood there).
TEST_F(Download, EndsWithTheWholeFileOrNoFileAtAll) {
    s_server->serve(QStringLiteral("served.bin"), QByteArray(200000, 'a'));
    const TransferCase cases[] = {
        {"served.bin", false, Succeeded, QByteArray(200000, 'a')},
        {"redirect/1", false, Succeeded, QByteArray(33, 'x')},
        {"nolength.bin", false, Succeeded, QByteArray(4096, 'n')},
        {"missing.bin", false, Failed, {}},
        {"cut.bin", false, Failed, {}},
        {"served.bin", true, Failed, {}},
    };
    for (const TransferCase& c : cases) {
        const QString path = target(QStringLiteral("out.bin"));
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("stale");
        old.close();
        const QString route = QString::fromLatin1(c.route);
        auto transfer =
            startDownload(c.https ? s_server->httpsUrl(route) : s_server->url(route), path);
        ASSERT_TRUE(transfer) << c.route;
        EXPECT_EQ(waitQuietly(transfer), c.state) << c.route;
        EXPECT_FALSE(QFile::exists(path + QStringLiteral(".part"))) << c.route;
        if (c.state == Succeeded) {
            EXPECT_FALSE(transfer) << "a successful wait releases the transfer";
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << c.route;
            EXPECT_EQ(file.readAll(), c.content) << c.route;
        } else {
            EXPECT_FALSE(QFile::exists(path)) << c.route;
            EXPECT_EQ(downloadProgress(*transfer), Failed);
        }
    }
}

TEST_F(Download, RefusesMissingArgumentsAndFailsIntoAMissingFolder) {
    EXPECT_FALSE(startDownload(QString(), target(QStringLiteral("a"))));
    EXPECT_FALSE(startDownload(s_server->url(QStringLiteral("a")), QString()));
    const QString path = target(QStringLiteral("no/such/folder/file.bin"));
    auto transfer = startDownload(s_server->url(QStringLiteral("redirect/1")), path);
    ASSERT_TRUE(transfer);
    EXPECT_EQ(waitQuietly(transfer), Failed);
    EXPECT_FALSE(QFile::exists(path));
}

class DownloadDisplayed : public test::AppFixture {
protected:
    static void SetUpTestSuite() { s_server = new test::LoopbackServer; }
    static void TearDownTestSuite() {
        delete s_server;
        s_server = nullptr;
    }
    StatusBar& bar() const { return *window().statusBar(); }

    static test::LoopbackServer* s_server;
};

test::LoopbackServer* DownloadDisplayed::s_server = nullptr;

TEST_F(DownloadDisplayed, ShowsPercentNeverAbove99AndEndsWithAFullBar) {
    start();
    const QString url = s_server->url(QStringLiteral("slow.bin"));
    const qint64 length = probeContentLength(url);
    ASSERT_EQ(length, 8 * 4096);
    auto transfer = startDownload(url, startFolder() + QStringLiteral("slow.bin"));
    ASSERT_TRUE(transfer);
    EXPECT_EQ(waitForDownload(m_state, transfer, DownloadDisplay{length, 99}), Succeeded);
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("^Downloading\\.\\.\\.(\\d+)%$")).match(bar().text(2));
    ASSERT_TRUE(match.hasMatch()) << bar().text(2).toStdString();
    EXPECT_LE(match.captured(1).toInt(), 99);
    EXPECT_EQ(bar().progressValue(1), 1);
    EXPECT_EQ(bar().progressMaximum(1), 1);
    EXPECT_NE(window().cursor().shape(), Qt::WaitCursor);
}

TEST_F(DownloadDisplayed, WithoutAnnouncedLengthShowsBytesAndABusyBar) {
    start();
    auto transfer = startDownload(s_server->url(QStringLiteral("slow-nolength.bin")),
                                  startFolder() + QStringLiteral("n.bin"));
    ASSERT_TRUE(transfer);
    EXPECT_EQ(waitForDownload(m_state, transfer, DownloadDisplay{0, 100}), Succeeded);
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("^Downloading\\.\\.\\. (\\d+) bytes$"))
            .match(bar().text(2));
    ASSERT_TRUE(match.hasMatch()) << bar().text(2).toStdString();
    EXPECT_GT(match.captured(1).toLongLong(), 0);
    EXPECT_LE(match.captured(1).toLongLong(), 8 * 4096);
    EXPECT_EQ(bar().progressMaximum(1), 1);
}

TEST_F(DownloadDisplayed, QuietWaitLeavesStatusBarAndCursorAlone) {
    start();
    auto transfer = startDownload(s_server->url(QStringLiteral("slow.bin")),
                                  startFolder() + QStringLiteral("q.bin"));
    ASSERT_TRUE(transfer);
    EXPECT_EQ(waitForDownload(m_state, transfer, std::nullopt), Succeeded);
    EXPECT_EQ(bar().text(2), QStringLiteral("Waiting"));
    EXPECT_EQ(bar().progressValue(1), 0);
    EXPECT_EQ(bar().progressMaximum(1), 100);
}

} // namespace
