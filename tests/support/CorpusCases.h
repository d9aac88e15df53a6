#pragma once

#include <optional>
#include <string>
#include <vector>

namespace testsupport {

// A corpus file and the password MANIFEST.tsv gives for it.
struct CorpusCase {
    std::string name;
    std::string path;
    std::optional<std::string> password;
    std::optional<int> pages; // none where the manifest says the file cannot be opened
};

// Every file of the corpus that opens with a password or none (not those that need a
// certificate); empty without a corpus.
std::vector<CorpusCase> PasswordCorpusCases();

} // namespace testsupport
