#pragma once

#include "app/CmdTarget.h"

#include <functional>
#include <vector>

// Sends a command along the current chain of command targets, first target first.
class CCommandRouter {
public:
    using ChainProvider = std::function<std::vector<CCmdTarget *>()>;

    explicit CCommandRouter(ChainProvider chain) : m_Chain(std::move(chain)) {}

    // The state of nID: the first target with a handler decides; with none it is disabled.
    CCmdUI Query(int nID) const;
    // Runs nID when it is enabled. Answers whether a handler ran.
    bool Execute(int nID) const;

private:
    ChainProvider m_Chain;
};
