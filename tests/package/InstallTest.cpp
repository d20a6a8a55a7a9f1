#include "PackageTestSupport.h"
#include "platform/ui/DesktopIdentity.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QPixmap>
#include <QImage>
#include <QImageReader>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace {

const QString appId = QStringLiteral(PINTARO_APP_ID);

// Installs the build once into a folder of its own, as `cmake --install`
// does for a parent (and CPack for the package).
class Installed : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_folder = std::make_unique<QTemporaryDir>();
        s_install = runProgram(QStringLiteral(PINTARO_CMAKE_COMMAND),
            { QStringLiteral("--install"), QStringLiteral(PINTARO_BUILD_DIR), QStringLiteral("--prefix"), prefix() });
    }
    static void TearDownTestSuite() { s_folder.reset(); }

    void SetUp() override
    {
        ASSERT_TRUE(s_install.finished && s_install.exitCode == 0) << "cmake --install failed:\n"
                                                                   << s_install.out.toStdString() << s_install.err.toStdString();
    }

    static QString prefix() { return s_folder->filePath(QStringLiteral("usr")); }
    static QString installed(const QString& path) { return prefix() + QLatin1Char('/') + path; }
    static QString desktopFile() { return installed(QStringLiteral("share/applications/") + appId + QStringLiteral(".desktop")); }
    static QString metainfoFile() { return installed(QStringLiteral("share/metainfo/") + appId + QStringLiteral(".metainfo.xml")); }

    // Runs a validator on an installed file, or skips with what to install.
    static void validate(const char* validator, const char* package, QStringList arguments)
    {
        const QString program = findProgram(QString::fromLatin1(validator));
        if (program.isEmpty())
            GTEST_SKIP() << validator << " is not installed, so the installed file is not validated (apt-get install " << package << ")";
        ProgramRun run = runProgram(program, arguments);
        ASSERT_TRUE(run.finished);
        EXPECT_EQ(run.exitCode, 0) << validator << " " << arguments.join(QLatin1Char(' ')).toStdString() << ":\n"
                                   << run.out.toStdString() << run.err.toStdString();
    }

    static inline std::unique_ptr<QTemporaryDir> s_folder;
    static inline ProgramRun s_install;
};

}

TEST_F(Installed, PutsEachFileWhereTheDesktopLooksForIt)
{
    const QFileInfo program(installed(QStringLiteral("bin/pintaro")));
    EXPECT_TRUE(program.isFile() && program.isExecutable()) << program.filePath().toStdString();
    EXPECT_TRUE(QFileInfo::exists(desktopFile()));
    EXPECT_TRUE(QFileInfo::exists(metainfoFile()));
    EXPECT_TRUE(QFileInfo::exists(installed(QStringLiteral("share/icons/hicolor/scalable/apps/") + appId + QStringLiteral(".svg"))));
    // Every PNG size is a real picture of that size, not a copy of another.
    for (const QString& size : QString::fromLatin1(PINTARO_ICON_SIZES).split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString path = installed(QStringLiteral("share/icons/hicolor/%1x%1/apps/").arg(size) + appId + QStringLiteral(".png"));
        QImageReader reader(path);
        EXPECT_EQ(reader.format(), "png") << path.toStdString();
        EXPECT_EQ(reader.size(), QSize(size.toInt(), size.toInt())) << path.toStdString();
    }
}

TEST_F(Installed, DesktopEntryStartsTheInstalledProgramWithTheInstalledIcon)
{
    QSettings entry(desktopFile(), QSettings::IniFormat);
    entry.beginGroup(QStringLiteral("Desktop Entry"));
    EXPECT_EQ(entry.value(QStringLiteral("Type")).toString(), QStringLiteral("Application"));
    const QString exec = entry.value(QStringLiteral("Exec")).toString().section(QLatin1Char(' '), 0, 0);
    EXPECT_TRUE(QFileInfo(installed(QStringLiteral("bin/") + exec)).isExecutable()) << exec.toStdString();
    EXPECT_EQ(entry.value(QStringLiteral("Icon")).toString(), appId);

    QFile metainfo(metainfoFile());
    ASSERT_TRUE(metainfo.open(QIODevice::ReadOnly));
    const QString xml = QString::fromUtf8(metainfo.readAll());
    EXPECT_TRUE(xml.contains(QStringLiteral("<id>") + appId + QStringLiteral("</id>")));
    EXPECT_TRUE(xml.contains(QStringLiteral("<launchable type=\"desktop-id\">") + appId + QStringLiteral(".desktop</launchable>")));
    EXPECT_TRUE(xml.contains(QStringLiteral("<binary>") + exec + QStringLiteral("</binary>")));
    EXPECT_TRUE(xml.contains(QStringLiteral("<release version=\"" PINTARO_VERSION "\"")));
}

TEST_F(Installed, ProgramCarriesItsTranslationsWhereverItIsInstalled)
{
    // The installed copy speaks German without the build folder beside it.
    ProgramRun help = runProgram(installed(QStringLiteral("bin/pintaro")), { QStringLiteral("--lang"), QStringLiteral("de"), QStringLiteral("--help") },
        terminalEnvironment(QStringLiteral("C.UTF-8")));
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.startsWith(QStringLiteral("Aufruf: pintaro"))) << help.out.toStdString();
}

TEST_F(Installed, DesktopEntryPassesDesktopFileValidate)
{
    validate("desktop-file-validate", "desktop-file-utils", { desktopFile() });
}

TEST_F(Installed, MetainfoPassesAppstreamcliValidate)
{
    validate("appstreamcli", "appstream", { QStringLiteral("validate"), QStringLiteral("--no-net"), metainfoFile() });
}

// Wayland finds the window's icon and menu entry by the desktop entry's name.
TEST(DesktopIdentity, RunningProgramNamesItsDesktopEntryAndShowsItsIcon)
{
    platform::ui::identifyToDesktop();
    EXPECT_EQ(QGuiApplication::desktopFileName(), appId);
    EXPECT_TRUE(QFileInfo::exists(QStringLiteral(PINTARO_SOURCE_DIR "/packaging/") + appId + QStringLiteral(".desktop")));
    const QPixmap icon = QGuiApplication::windowIcon().pixmap(64, 64);
    ASSERT_FALSE(icon.isNull());
    // Not an empty square: the icon's tile covers its middle.
    EXPECT_GT(qAlpha(icon.toImage().pixel(32, 32)), 200);
}
