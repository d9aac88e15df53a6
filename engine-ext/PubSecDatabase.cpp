#include "engine-ext/PubSecDatabase.h"

#include <nss.h>
#include <prerror.h>

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

namespace engine_ext {

namespace {

// The one open database of the process. Left open at exit: NSS keeps it reachable, and a
// shutdown from a static destructor could run after NSS's own clean-up.
struct OpenDatabase {
    std::mutex lock;
    NSSInitContext *context = nullptr;
    std::string name;
};

OpenDatabase &Shared() {
    static OpenDatabase *database = new OpenDatabase;
    return *database;
}

std::string HomeFolder() {
    if (const char *home = std::getenv("HOME"); home && *home)
        return home;
    const passwd *entry = getpwuid(getuid());
    return entry && entry->pw_dir ? entry->pw_dir : "";
}

void CloseLocked(OpenDatabase &database) {
    if (database.context)
        NSS_ShutdownContext(database.context);
    database.context = nullptr;
    database.name.clear();
}

} // namespace

std::string CPubSecDatabase::UserDatabase() {
    return "sql:" + HomeFolder() + "/.pki/nssdb";
}

CPubSecDatabase::CPubSecDatabase() : m_Lock(Shared().lock) {
    OpenDatabase &database = Shared();
    const std::string name = UserDatabase();
    if (database.context && database.name == name) {
        m_bOpen = true;
        return;
    }
    CloseLocked(database);
    // Read-only: a missing database is an error, never a new empty one in the user's home.
    // No root-certificate module: decryption needs no trust decisions.
    database.context =
        NSS_InitContext(name.c_str(), "", "", "", nullptr, NSS_INIT_READONLY | NSS_INIT_NOROOTINIT);
    if (!database.context) {
        m_nError = PR_GetError();
        return;
    }
    database.name = name;
    m_bOpen = true;
}

} // namespace engine_ext
