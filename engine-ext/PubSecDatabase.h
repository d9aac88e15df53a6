#pragma once

#include <mutex>
#include <string>

namespace engine_ext {

// The user's certificate database, sql:$HOME/.pki/nssdb, opened read-only in an NSS context of
// its own, so that nothing we do creates or changes it.
//
// Opening a database costs more than decrypting a whole document, so the context stays open
// for the next open attempt as long as $HOME names the same folder. When it names another one
// (a test switching databases, say), the old context is shut down before the new one opens:
// only one database is ever open, and a certificate of one is never found through another.
// A CPubSecDatabase holds the process-wide lock for its lifetime; open attempts on other
// threads wait for it. Nothing that reaches the user runs while one lives: an open started
// from a prompt's event loop on the same thread would wait for it for ever.
class CPubSecDatabase {
public:
    CPubSecDatabase();
    CPubSecDatabase(const CPubSecDatabase &) = delete;
    CPubSecDatabase &operator=(const CPubSecDatabase &) = delete;

    bool IsOpen() const { return m_bOpen; }
    // NSS's error code when the database could not be opened.
    int ErrorCode() const { return m_nError; }

    // "sql:" and the database folder of the current $HOME.
    static std::string UserDatabase();

private:
    std::unique_lock<std::mutex> m_Lock;
    bool m_bOpen = false;
    int m_nError = 0;
};

} // namespace engine_ext
