#pragma once

// The engine temporary folder: VKP inside this user's 0700 temporary folder, shared by every
// engine of every process of the user. Poppler 22.12 loads embedded fonts and CMaps from
// memory and never asks for a temporary file, so the folder only comes into being when
// something of ours asks for a name; removing it is cleanup.
//
// Removal never pulls a file from under a live engine: every live engine holds a use of the
// folder (a shared lock on a file beside it, taken once per process), and the folder is
// removed only when no engine in any process holds one.

#include <string>

// Empty when the user's temporary folder cannot be had.
std::string EngineTempFolder();

// Creates the folder when missing and a new empty file "VKP??????.tmp" in it, readable by this
// user only. False when either cannot be made.
bool GetEngineTempFileName(std::string &name);

// Empties and removes a folder. Symbolic links are removed, never followed; read-only files
// and folders go too. What cannot be removed stays, and so do the folders holding it.
void RemoveFolderTree(const std::string &path);

// Removes the engine temporary folder unless an engine anywhere still uses it.
void RemoveEngineTempFolder();

// Held by each live engine.
class CEngineTempFolderUse {
public:
    CEngineTempFolderUse();
    ~CEngineTempFolderUse();
    CEngineTempFolderUse(const CEngineTempFolderUse &) = delete;
    CEngineTempFolderUse &operator=(const CEngineTempFolderUse &) = delete;
};
