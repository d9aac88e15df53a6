#include "engine-ext/Gbk.h"

#include <iconv.h>
#include <vector>

namespace engine_ext {

std::string Utf8ToGbk(const std::string &utf8) {
    iconv_t cd = iconv_open("GBK", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return {};
    std::string in = utf8;
    std::vector<char> out(in.size() * 2 + 1);
    char *src = in.data();
    char *dst = out.data();
    std::size_t srcLeft = in.size(), dstLeft = out.size();
    const bool ok = iconv(cd, &src, &srcLeft, &dst, &dstLeft) != static_cast<std::size_t>(-1);
    iconv_close(cd);
    return ok ? std::string(out.data(), dst - out.data()) : std::string();
}

} // namespace engine_ext
