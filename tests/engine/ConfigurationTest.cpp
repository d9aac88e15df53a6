// The engine configuration: resource path normalisation, what reaches Poppler from rc/, and
// the rule that the configuration outlives every engine that may use it.

#include "engine-ext/EngineConfiguration.h"
#include "engine-ext/ResourcePath.h"
#include "platform/SpecialFolders.h"
#include "tests/support/EngineHandle.h"

#include <GfxState.h>
#include <GlobalParams.h>
#include <goo/GooString.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sys/file.h>
#include <unistd.h>

using testsupport::CEngineHandle;
using testsupport::CTempDir;
using testsupport::ResourceDir;

TEST(ResourcePath, NormalisationAppendsTheRcFolderOnlyToExistingPaths) {
    CTempDir dir;
    std::filesystem::create_directories(dir / "App/rc");
    std::filesystem::create_directories(dir / "Other/RC");
    const struct {
        std::string in, out;
    } cases[] = {
        {dir / "App/rc", dir / "App/rc/"},
        {dir / "App/rc/", dir / "App/rc/"},
        {dir / "Other/RC/", dir / "Other/RC/"},
        {dir / "App", dir / "App/rc/"},
        {dir / "App/", dir / "App/rc/"},
        {dir / "missing", dir / "missing"},
        {"", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(engine_ext::NormaliseResourcePath(c.in), c.out) << c.in;
}

namespace {

bool CMapFound(const char *collection, const char *name) {
    const GooString coll(collection), cmap(name);
    FILE *f = globalParams->findCMapFile(&coll, &cmap);
    if (f)
        std::fclose(f);
    return f != nullptr;
}

// TMPDIR for the length of a test.
class CTempFolderSetting {
public:
    explicit CTempFolderSetting(const std::string &path) {
        if (const char *old = std::getenv("TMPDIR"))
            m_Old = old;
        setenv("TMPDIR", path.c_str(), 1);
    }
    ~CTempFolderSetting() {
        if (m_Old)
            setenv("TMPDIR", m_Old->c_str(), 1);
        else
            unsetenv("TMPDIR");
    }
    CTempFolderSetting(const CTempFolderSetting &) = delete;
    CTempFolderSetting &operator=(const CTempFolderSetting &) = delete;

private:
    std::optional<std::string> m_Old;
};

bool CidToUnicodeFound(const char *collection) {
    const GooString coll(collection);
    CharCodeToUnicode *table = globalParams->getCIDToUnicode(&coll);
    return table != nullptr;
}

} // namespace

TEST(EngineConfiguration, CjkTablesComeFromTheResourceDirectory) {
    CEngineHandle h;
    PdfSetResourceDir(h, ResourceDir().c_str());
    engine_ext::BuildEngineConfiguration();
    engine_ext::CConfigurationUse use;
    EXPECT_EQ(use.ResourceBase(), ResourceDir() + "/");
    EXPECT_EQ(engine_ext::GetResourceBasePath(), ResourceDir() + "/");
    const struct {
        const char *collection, *cmap;
    } cmaps[] = {{"Adobe-GB1", "GBK-EUC-H"},
                 {"Adobe-CNS1", "ETen-B5-H"},
                 {"Adobe-Japan1", "90ms-RKSJ-H"},
                 {"Adobe-Korea1", "KSCms-UHC-H"}};
    for (const auto &c : cmaps) {
        EXPECT_TRUE(CMapFound(c.collection, c.cmap)) << c.cmap;
        EXPECT_TRUE(CidToUnicodeFound(c.collection)) << c.collection;
        EXPECT_FALSE(CMapFound(c.collection, "No-Such-CMap")) << c.collection;
    }
    EXPECT_NE(globalParams->getUnicodeMap("GBK"), nullptr);
    EXPECT_NE(globalParams->getUnicodeMap("Shift-JIS"), nullptr);
    EXPECT_TRUE(globalParams->getErrQuiet());
    EXPECT_EQ(globalParams->getTextEncodingName(), "Latin1");
}

TEST(EngineConfiguration, MissingResourceDirectoryLeavesTablesAbsentButDocumentsOpen) {
    CTempDir dir;
    CEngineHandle h;
    PdfSetResourceDir(h, (dir / "nowhere").c_str());
    EXPECT_EQ(h.Open(testsupport::Fixture("cjk.pdf")), 0);
    {
        engine_ext::CConfigurationUse use;
        EXPECT_EQ(use.ResourceBase(), dir / "nowhere");
        EXPECT_FALSE(CMapFound("Adobe-GB1", "GBK-EUC-H"));
    }
    PdfSetResourceDir(h, ResourceDir().c_str());
    EXPECT_EQ(h.Open(testsupport::Fixture("cjk.pdf")), 0);
    engine_ext::CConfigurationUse use;
    EXPECT_TRUE(CMapFound("Adobe-GB1", "GBK-EUC-H"));
}

TEST(EngineConfiguration, LivesUntilTheLastEngineIsDestroyed) {
    auto first = std::make_unique<CEngineHandle>();
    auto second = std::make_unique<CEngineHandle>();
    ASSERT_EQ(first->Open(testsupport::Fixture("two-100pt.pdf")), 0);
    ASSERT_EQ(second->Open(testsupport::Fixture("two-100pt.pdf")), 0);
    first.reset();
    EXPECT_TRUE(engine_ext::CConfigurationUse().HasConfiguration());
    EXPECT_EQ(PdfGetPageWidth(*second, 2), 100);
    second.reset();
    EXPECT_FALSE(engine_ext::CConfigurationUse().HasConfiguration());
    // Whatever needs one builds it again on demand.
    EXPECT_TRUE(engine_ext::CConfigurationUse(true).HasConfiguration());
}

// Two windows drawing their first pages at once must find Poppler's colour profile already
// chosen: choosing it is not safe from two threads. Nothing in this program draws a page.
TEST(EngineConfiguration, ChoosesTheColourProfileBeforeAnyPageIsDrawn) {
    CEngineHandle h;
    ASSERT_EQ(h.Open(testsupport::Fixture("two-100pt.pdf")), 0);
    EXPECT_NE(GfxState::sRGBProfile, nullptr);
}

// Without its private folder no configuration is made at all (Poppler, given no folder, would
// read its tables from the root of the file system): documents fail to open until the folder
// can be made again.
TEST(EngineConfiguration, WithoutItsPrivateFolderNoneIsMade) {
    CTempDir dir;
    std::ofstream(dir / "a-file") << "no folder can be made below a file";
    CEngineHandle h;
    {
        const CTempFolderSetting tmp(dir / "a-file");
        // A base path of its own, so that a configuration must be built.
        PdfSetResourceDir(h, (dir / "elsewhere").c_str());
        EXPECT_EQ(engine_ext::BuildEngineConfiguration(), 0);
        EXPECT_EQ(h.Open(testsupport::Fixture("cjk.pdf")), -1);
        EXPECT_FALSE(engine_ext::CConfigurationUse(true).HasConfiguration());
    }
    EXPECT_EQ(h.Open(testsupport::Fixture("cjk.pdf")), 0);
}

// The private folders of configurations whose processes ended are removed when the next one is
// made; a folder still held by its process, and other names, stay.
TEST(EngineConfiguration, FoldersLeftByEndedProcessesAreRemoved) {
    CTempDir dir;
    const CTempFolderSetting tmp(dir.Path());
    const std::string own = platform::UserTempFolder();
    ASSERT_FALSE(own.empty());
    for (const char *name : {"config-abc123", "config-inuse1", "config-longer-name"})
        std::filesystem::create_directories(own + "/" + name + "/cMap");
    const int held = open((own + "/config-inuse1").c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_EQ(flock(held, LOCK_EX), 0);
    CEngineHandle h;
    PdfSetResourceDir(h, (dir / "a-base-of-its-own").c_str());
    EXPECT_EQ(engine_ext::BuildEngineConfiguration(), 1);
    close(held);
    EXPECT_FALSE(std::filesystem::exists(own + "/config-abc123"));
    EXPECT_TRUE(std::filesystem::exists(own + "/config-inuse1"));
    EXPECT_TRUE(std::filesystem::exists(own + "/config-longer-name"));
    int configurations = 0;
    for (const auto &entry : std::filesystem::directory_iterator(own))
        configurations += entry.path().filename().string().starts_with("config-");
    EXPECT_EQ(configurations, 3); // the two kept and the new one
}
