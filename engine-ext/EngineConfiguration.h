#pragma once

#include <shared_mutex>
#include <string>

namespace engine_ext {

// The process-wide engine configuration (CJK tables, font tables, settings) that every
// engine's documents are parsed, drawn and read with.
//
// Lifetime rule: while any CConfigurationUse exists the configuration is neither replaced nor
// destroyed, so one window may rebuild it while another renders on its worker thread. A
// thread must not call BuildEngineConfiguration while it holds a CConfigurationUse.

// Builds the configuration from the resource base path, or keeps the present one when it was
// built from the same normalised path (it would come out the same). Returns 1, or 0 when no
// configuration can be made (its private folder cannot be created); there is then none, and
// no document can be opened or drawn until a later build succeeds.
int BuildEngineConfiguration();

// Engines that are alive keep the configuration; the last one to go destroys it.
void RetainEngineConfiguration();
void ReleaseEngineConfiguration();

class CConfigurationUse {
public:
    // forDrawing: make a configuration first when none exists, and have its fonts registered.
    // HasConfiguration() tells whether there is one to work with.
    explicit CConfigurationUse(bool forDrawing = false);
    ~CConfigurationUse();
    CConfigurationUse(const CConfigurationUse &) = delete;
    CConfigurationUse &operator=(const CConfigurationUse &) = delete;

    bool HasConfiguration() const;
    // The normalised resource base path the configuration was built from.
    std::string ResourceBase() const;

    // The use this thread holds, for code deep inside an engine call (a second use on the
    // same thread could wait behind a rebuild forever); null outside engine calls.
    static const CConfigurationUse *Current();

private:
    std::shared_lock<std::shared_mutex> m_lock;
    const CConfigurationUse *m_pOuter;
};

} // namespace engine_ext
