#include "engine-ext/EngineConfiguration.h"

#include "engine-ext/CjkFontSubstitution.h"
#include "engine-ext/ConfigurationTables.h"
#include "engine-ext/PopplerDataFolder.h"
#include "engine-ext/ResourcePath.h"
#include "platform/FontFiles.h"

#include <GfxState.h>
#include <GlobalParams.h>
#include <Page.h>
#include <goo/GooString.h>

#include <map>
#include <memory>
#include <mutex>

namespace engine_ext {

namespace {

// A name without a file is left to Poppler's own search.
void AddFontFile(GlobalParams &params, const std::string &name, const std::string &path) {
    if (path.empty())
        return;
    const GooString fontName(name);
    const GooString fontPath(path);
    params.addFontFile(&fontName, &fontPath);
}

class CEngineConfiguration {
public:
    // Null when Poppler's data folder cannot be made: without it Poppler would look for its
    // tables at the root of the file system.
    static std::unique_ptr<CEngineConfiguration> Make(std::string base) {
        auto folder = std::make_unique<CPopplerDataFolder>(base);
        if (!folder->Made())
            return nullptr;
        return std::make_unique<CEngineConfiguration>(std::move(base), std::move(folder));
    }

    CEngineConfiguration(std::string base, std::unique_ptr<CPopplerDataFolder> folder)
        : m_strBase(std::move(base)), m_pDataFolder(std::move(folder)) {
        globalParams = std::make_unique<GlobalParams>(m_pDataFolder->Path());
        globalParams->setErrQuiet(true);
        globalParams->setTextEncoding("Latin1");
    }
    ~CEngineConfiguration() { globalParams.reset(); }
    CEngineConfiguration(const CEngineConfiguration &) = delete;
    CEngineConfiguration &operator=(const CEngineConfiguration &) = delete;

    const std::string &Base() const { return m_strBase; }

    // Fonts matter only once something is drawn; scanning the system's font files waits until
    // then, so opening a document stays quick. Safe from any thread holding a use: Poppler
    // guards its font table itself.
    void EnsureFonts() {
        std::call_once(m_FontsRegistered, [] {
            const platform::CFontFiles fonts;
            RegisterBaseFonts(*globalParams, fonts);
            RegisterNamedCidFonts(*globalParams, fonts);
            RegisterSubstitutes(*globalParams, fonts);
        });
    }

private:
    // The .ttc file first, then the .ttf file; a machine without the Windows fonts gets
    // fontconfig's best font for the collection's language, so CJK text is still drawn.
    static std::map<std::string, std::string> CollectionFonts(const platform::CFontFiles &fonts) {
        std::map<std::string, std::string> files;
        for (const CollectionResources &c : kCollections) {
            std::string file = fonts.Find(c.fontTtc);
            if (file.empty())
                file = fonts.Find(c.fontTtf);
            if (file.empty())
                file = platform::CFontFiles::BestForLanguage(c.language);
            files[c.collection] = file;
        }
        files[kUnidocsKoreaCollection] = files[kUnidocsKoreaFontsFrom];
        return files;
    }

    // The Windows files where present; Poppler's own set-up (fontconfig) finds the rest.
    static void RegisterBaseFonts(GlobalParams &params, const platform::CFontFiles &fonts) {
        for (const BaseFontFile &f : kBaseFontFiles) {
            if (f.file)
                AddFontFile(params, f.font, fonts.Find(f.file));
        }
        params.setupBaseFonts(nullptr);
    }

    // Fonts the documents' preparation did not reach find these by their own names.
    static void RegisterNamedCidFonts(GlobalParams &params, const platform::CFontFiles &fonts) {
        for (const NamedCidFont &f : kNamedCidFonts) {
            const std::string name = DocumentFontName(f);
            if (!name.empty())
                AddFontFile(params, name, fonts.Find(f.file));
        }
    }

    // Every choice a non-embedded font can be given (see CCjkFontSubstitution): a collection's
    // font, and each named font's file in a font of that collection, or the collection's font
    // where the file is missing.
    static void RegisterSubstitutes(GlobalParams &params, const platform::CFontFiles &fonts) {
        std::map<std::string, std::string> namedFiles; // file name: path, or empty
        for (const NamedCidFont &f : kNamedCidFonts) {
            if (f.file)
                namedFiles.emplace(f.file, fonts.Find(f.file));
        }
        for (const auto &[collection, collectionFile] : CollectionFonts(fonts)) {
            AddFontFile(params, CCjkFontSubstitution::ChoiceName(collection, ""), collectionFile);
            for (const auto &[file, path] : namedFiles)
                AddFontFile(params, CCjkFontSubstitution::ChoiceName(collection, file),
                            path.empty() ? collectionFile : path);
        }
    }

    std::string m_strBase;
    std::unique_ptr<CPopplerDataFolder> m_pDataFolder;
    std::once_flag m_FontsRegistered;
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

// Caller holds g_configLock exclusively. Without a configuration afterwards, none can be made.
// Poppler picks its sRGB display profile in the first GfxState made, without a lock: two windows
// drawing their first pages at once each made one, and one freed the other's while in use. Made
// here, with the configuration held alone, every later state only reads it.
void ChooseColourProfile() {
    PDFRectangle box(0, 0, 1, 1);
    const GfxState chooser(72, 72, &box, 0, false);
}

void BuildLocked(std::string base) {
    if (IsBuiltFrom(base))
        return;
    g_pConfig.reset();
    g_pConfig = CEngineConfiguration::Make(std::move(base));
    ChooseColourProfile();
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
    return g_pConfig ? 1 : 0;
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

bool CConfigurationUse::HasConfiguration() const {
    return g_pConfig != nullptr;
}

std::string CConfigurationUse::ResourceBase() const {
    return g_pConfig ? g_pConfig->Base() : std::string();
}

} // namespace engine_ext
