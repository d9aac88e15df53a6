#include "engine-ext/FileInMemory.h"

#include <goo/gfile.h>

#include <algorithm>

namespace engine_ext {

std::optional<std::string> ReadWholeFile(const GooFile &file) {
    const Goffset size = file.size();
    if (size < 0)
        return std::nullopt;
    std::string bytes(static_cast<std::size_t>(size), '\0');
    for (Goffset done = 0; done < size;) {
        const int chunk = static_cast<int>(std::min<Goffset>(size - done, 1 << 20));
        const int got = file.read(bytes.data() + done, chunk, done);
        if (got <= 0)
            return std::nullopt;
        done += got;
    }
    return bytes;
}

} // namespace engine_ext
