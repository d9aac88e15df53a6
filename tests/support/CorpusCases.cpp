#include "tests/support/CorpusCases.h"

#include "tests/support/TestPaths.h"

#include <fstream>
#include <sstream>

namespace testsupport {

namespace {

constexpr int kPagesColumn = 2;
constexpr int kEncryptedColumn = 3;
const std::string kPasswordPrefix = "password:";

} // namespace

std::vector<CorpusCase> PasswordCorpusCases() {
    std::vector<CorpusCase> files;
    if (CorpusDir().empty())
        return files;
    std::ifstream manifest(CorpusDir() + "/MANIFEST.tsv");
    std::string line;
    std::getline(manifest, line); // the column names
    while (std::getline(manifest, line)) {
        std::vector<std::string> cols;
        std::stringstream row(line);
        for (std::string col; std::getline(row, col, '\t');)
            cols.push_back(col);
        if (cols.size() <= kEncryptedColumn || cols[kEncryptedColumn] == "pubsec")
            continue;
        CorpusCase c{cols[0], CorpusDir() + "/" + cols[0], std::nullopt, std::nullopt};
        if (cols[kPagesColumn] != "error")
            c.pages = std::stoi(cols[kPagesColumn]);
        if (cols[kEncryptedColumn].rfind(kPasswordPrefix, 0) == 0)
            c.password = cols[kEncryptedColumn].substr(kPasswordPrefix.size());
        files.push_back(c);
    }
    return files;
}

} // namespace testsupport
