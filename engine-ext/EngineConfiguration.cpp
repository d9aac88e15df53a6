#include "engine-ext/EngineConfiguration.h"

#include "engine-ext/ConfigurationTables.h"
#include "engine-ext/Gbk.h"
#include "engine-ext/ResourcePath.h"
#include "platform/FontFiles.h"
#include "platform/SpecialFolders.h"

#include <GlobalParams.h>
#include <goo/GooString.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace engine_ext {

namespace {

// Poppler reads its CJK tables from a data folder of its own layout; ours lies below the
// resource base path under other names. A private folder of links bridges the two, so the
// files are read where they are and nothing is copied.
class CDataFolder {
public:
    explicit CDataFolder(const std::string &base) {
        std::string pattern = (platform::UserTempFolder().empty() ? platform::TempFolder()
                                                                  : platform::UserTempFolder()) +
                              "/config-XXXXXX";
        if (mkdtemp(pattern.data()))
            m_strPath = pattern;
        if (!m_strPath.empty())
            LayOut(AbsoluteBase(base));
    }
    ~CDataFolder() {
        std::error_code ec;
        if (!m_strPath.empty())
            fs::remove_all(m_strPath, ec);
    }
    CDataFolder(const CDataFolder &) = delete;
    CDataFolder &operator=(const CDataFolder &) = delete;

    // Poppler keeps this pointer: the folder object must outlive the GlobalParams.
    const char *Path() const { return m_strPath.c_str(); }

private:
    // Links are resolved from their own folder, so a relative base must be made absolute.
    static std::string AbsoluteBase(const std::string &base) {
        if (base.empty() || base.front() == '/')
            return base;
        std::error_code ec;
        return fs::current_path(ec).string() + "/" + base;
    }

    // Names are the plain concatenation of base and relative name, exactly as registered.
    // A link whose target is missing is harmless: Poppler finds the file absent.
    void Link(const std::string &target, const std::string &link) {
        std::error_code ec;
        fs::create_directories(fs::path(link).parent_path(), ec);
        fs::create_symlink(target, link, ec);
    }

    void LayOut(const std::string &base) {
        for (const CollectionResources &c : kCollections) {
            Link(base + c.cidToUnicodeFile, m_strPath + "/cidToUnicode/" + c.collection);
            Link(base + c.cMapDir, m_strPath + "/cMap/" + c.collection);
        }
        for (const char *encoding : kUnicodeMapEncodings)
            Link(base + "UnicodeMap/" + encoding + ".unicodeMap",
                 m_strPath + "/unicodeMap/" + encoding);
    }

    std::string m_strPath;
};

void AddFontFile(GlobalParams &params, const std::string &name, const std::string &path) {
    const GooString fontName(name);
    const GooString fontPath(path);
    params.addFontFile(&fontName, &fontPath);
}

bool IsAscii(const char *s) {
    for (; *s; ++s)
        if (static_cast<unsigned char>(*s) >= 0x80)
            return false;
    return true;
}

class CEngineConfiguration {
public:
    explicit CEngineConfiguration(std::string base)
        : m_strBase(std::move(base)), m_DataFolder(m_strBase) {
        globalParams = std::make_unique<GlobalParams>(m_DataFolder.Path());
        globalParams->setErrQuiet(true);
        globalParams->setTextEncoding("Latin1");
    }
    ~CEngineConfiguration() { globalParams.reset(); }
    CEngineConfiguration(const CEngineConfiguration &) = delete;
    CEngineConfiguration &operator=(const CEngineConfiguration &) = delete;

    const std::string &Base() const { return m_strBase; }

    // Fonts matter only once something is drawn; scanning the system's font files waits until
    // then, so opening a document stays quick. Safe from any thread holding a use: Poppler
    // guards its font table itself, and the collection table is written once, here.
    void EnsureFonts() {
        std::call_once(m_FontsRegistered, [this] {
            const platform::CFontFiles fonts;
            ChooseCollectionFonts(fonts);
            RegisterBaseFonts(*globalParams, fonts);
            RegisterNamedCidFonts(*globalParams, fonts);
        });
        RunWaitingActions();
    }

    // Font choices made while a document opens need the font files, which are looked at only
    // once something is drawn; until then they wait here.
    void AfterFontsRegistered(std::function<void()> action) {
        {
            std::lock_guard lock(m_WaitingLock);
            if (!m_bFontsReady) {
                m_WaitingActions.push_back(std::move(action));
                return;
            }
        }
        action();
    }

    std::string CollectionFontFile(const std::string &collection) {
        EnsureFonts();
        const auto it = m_CollectionFonts.find(collection);
        return it == m_CollectionFonts.end() ? std::string() : it->second;
    }

private:
    // Outside call_once: an action may ask for a collection font, which ensures the fonts.
    void RunWaitingActions() {
        std::vector<std::function<void()>> actions;
        {
            std::lock_guard lock(m_WaitingLock);
            m_bFontsReady = true;
            actions.swap(m_WaitingActions);
        }
        for (const auto &action : actions)
            action();
    }

    // The .ttc file first, then the .ttf file; a machine without the Windows fonts gets
    // fontconfig's best font for the collection's language, so CJK text is still drawn.
    void ChooseCollectionFonts(const platform::CFontFiles &fonts) {
        for (const CollectionResources &c : kCollections) {
            std::string file = fonts.Find(c.fontTtc);
            if (file.empty())
                file = fonts.Find(c.fontTtf);
            if (file.empty())
                file = platform::CFontFiles::BestForLanguage(c.language);
            m_CollectionFonts[c.collection] = file;
        }
        m_CollectionFonts[kUnidocsKoreaCollection] = m_CollectionFonts[kUnidocsKoreaFontsFrom];
    }

    // The Windows files where present; Poppler's own set-up (fontconfig) finds the rest.
    static void RegisterBaseFonts(GlobalParams &params, const platform::CFontFiles &fonts) {
        for (const BaseFontFile &f : kBaseFontFiles) {
            const std::string path = f.file ? fonts.Find(f.file) : std::string();
            if (!path.empty())
                AddFontFile(params, f.font, path);
        }
        params.setupBaseFonts(nullptr);
    }

    // Documents write the Chinese names in GBK, and names are matched byte for byte.
    static void RegisterNamedCidFonts(GlobalParams &params, const platform::CFontFiles &fonts) {
        for (const NamedCidFont &f : kNamedCidFonts) {
            if (!f.name || !*f.name)
                continue;
            const std::string path = fonts.Find(f.file);
            const std::string name = IsAscii(f.name) ? std::string(f.name) : Utf8ToGbk(f.name);
            if (!path.empty() && !name.empty())
                AddFontFile(params, name, path);
        }
    }

    std::string m_strBase;
    CDataFolder m_DataFolder;
    std::once_flag m_FontsRegistered;
    std::map<std::string, std::string> m_CollectionFonts;
    std::mutex m_WaitingLock;
    bool m_bFontsReady = false;                          // guarded by m_WaitingLock
    std::vector<std::function<void()>> m_WaitingActions; // guarded by m_WaitingLock
};

// Readers (every engine call) hold g_configLock shared for their whole length; it is taken
// exclusively only to put a configuration in place or to drop it, never merely to look.
std::shared_mutex g_configLock;
std::unique_ptr<CEngineConfiguration> g_pConfig; // guarded by g_configLock
std::mutex g_enginesLock;                        // taken before g_configLock, never after
int g_nLiveEngines = 0;                          // guarded by g_enginesLock
thread_local const CConfigurationUse *t_pCurrentUse = nullptr;

std::string NormalisedBase() {
    std::string base = NormaliseResourcePath(GetResourceBasePath());
    SetResourceBasePath(base);
    return base;
}

bool IsBuiltFrom(const std::string &base) {
    return g_pConfig && g_pConfig->Base() == base;
}

// Caller holds g_configLock exclusively.
void BuildLocked(std::string base) {
    if (IsBuiltFrom(base))
        return;
    g_pConfig.reset();
    g_pConfig = std::make_unique<CEngineConfiguration>(std::move(base));
}

} // namespace

int BuildEngineConfiguration() {
    std::string base = NormalisedBase();
    {
        // The usual case, the same resource folder again, waits for no render anywhere.
        std::shared_lock look(g_configLock);
        if (IsBuiltFrom(base))
            return 1;
    }
    std::unique_lock lock(g_configLock);
    BuildLocked(std::move(base));
    return 1;
}

void RetainEngineConfiguration() {
    std::lock_guard engines(g_enginesLock);
    ++g_nLiveEngines;
}

void ReleaseEngineConfiguration() {
    std::lock_guard engines(g_enginesLock);
    if (g_nLiveEngines > 0 && --g_nLiveEngines == 0) {
        std::unique_lock lock(g_configLock);
        g_pConfig.reset();
    }
}

CConfigurationUse::CConfigurationUse(bool forDrawing)
    : m_lock(g_configLock), m_pOuter(t_pCurrentUse) {
    t_pCurrentUse = this;
    if (!forDrawing)
        return;
    if (!g_pConfig) {
        m_lock.unlock();
        {
            std::string base = NormalisedBase();
            std::unique_lock build(g_configLock);
            if (!g_pConfig)
                BuildLocked(std::move(base));
        }
        m_lock.lock();
    }
    if (g_pConfig)
        g_pConfig->EnsureFonts();
}

CConfigurationUse::~CConfigurationUse() {
    t_pCurrentUse = m_pOuter;
}

const CConfigurationUse *CConfigurationUse::Current() {
    return t_pCurrentUse;
}

void CConfigurationUse::AfterFontsRegistered(std::function<void()> action) const {
    if (g_pConfig)
        g_pConfig->AfterFontsRegistered(std::move(action));
}

bool CConfigurationUse::HasConfiguration() const {
    return g_pConfig != nullptr;
}

std::string CConfigurationUse::CollectionFontFile(const std::string &collection) const {
    return g_pConfig ? g_pConfig->CollectionFontFile(collection) : std::string();
}

std::string CConfigurationUse::ResourceBase() const {
    return g_pConfig ? g_pConfig->Base() : std::string();
}

} // namespace engine_ext
