// The engine configuration: resource path normalisation, what reaches Poppler from rc/, and
// the rule that the configuration outlives every engine that may use it.

#include "engine-ext/EngineConfiguration.h"
#include "engine-ext/ResourcePath.h"
#include "tests/support/EngineHandle.h"

#include <GlobalParams.h>
#include <goo/GooString.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

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
