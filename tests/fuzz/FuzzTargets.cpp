#include "tests/fuzz/FuzzTargets.h"

#include "tests/fuzz/FuzzDocumentFile.h"

#include <cstdlib>
#include <string>

namespace {

bool IsWholeFile(const std::uint8_t *data, std::size_t size) {
    return size >= 4 && std::string(reinterpret_cast<const char *>(data), 4) == "%PDF";
}

// The fuzzed part after its one leading mode byte.
std::string Part(const std::uint8_t *data, std::size_t size) {
    return size > 1 ? std::string(reinterpret_cast<const char *>(data) + 1, size - 1) : "";
}

// The test user's certificate database, when the run names one: $HOME is where NSS looks.
void EnterFuzzHome() {
    static const bool entered = [] {
        const char *home = std::getenv("VESK_FUZZ_HOME");
        return home && *home && setenv("HOME", home, 1) == 0;
    }();
    (void)entered;
}

constexpr const char *kGbkSong = "/#CB#CE#CC#E5"; // 宋体 in GBK bytes
constexpr const char *kChineseText = "BT /F 24 Tf 10 100 Td <D6D0CEC431B2E2CAD4> Tj ET";

// Objects 5 to 7: a GBK-named TrueType font as GBK producers write it (half-width ASCII,
// full-width lead bytes), its descriptor, and `fontFile` as the file it embeds.
std::string GbkFontEmbedding(const std::string &fontFile) {
    std::string widths;
    for (int c = 32; c <= 255; ++c)
        widths += c < 128 ? "500 " : "1000 ";
    return std::string("5 0 obj\n<</Type/Font/Subtype/TrueType/BaseFont") + kGbkSong +
           "/FirstChar 32/LastChar 255/Widths[" + widths +
           "]/FontDescriptor 6 0 R>>\nendobj\n"
           "6 0 obj\n<</Type/FontDescriptor/FontName" +
           kGbkSong +
           "/Flags 4/FontBBox[0 -120 1000 880]/ItalicAngle 0/Ascent 880/Descent -120"
           "/CapHeight 700/StemV 80/FontFile2 7 0 R>>\nendobj\n"
           "7 0 obj\n<</Length " +
           std::to_string(fontFile.size()) + ">>\nstream\n" + fontFile + "\nendstream\nendobj\n";
}

} // namespace

int FuzzDocument(const std::uint8_t *data, std::size_t size) {
    FuzzEngine().OpenAndRead(data, size);
    return 0;
}

int FuzzCertificateEncryption(const std::uint8_t *data, std::size_t size) {
    EnterFuzzHome();
    if (IsWholeFile(data, size)) {
        FuzzEngine().OpenAndRead(data, size);
        return 0;
    }
    const bool recipientBlock = size > 0 && (data[0] & 1);
    const std::string encrypt =
        recipientBlock
            ? "<</Filter/Adobe.PubSec/SubFilter/adbe.pkcs7.s5/V 4/R 4/StmF/DefaultCryptFilter"
              "/StrF/DefaultCryptFilter/CF<</DefaultCryptFilter<</CFM/AESV2/Recipients[<" +
                  HexOf(data + 1, size - 1) + ">]>>>>>>"
            : "<</Filter/Adobe.PubSec " + Part(data, size) + ">>";
    const std::string file =
        SmallDocument("<<>>", "0 0 1 rg 10 10 50 50 re f", "5 0 obj\n" + encrypt + "\nendobj\n", 1,
                      "/Encrypt 5 0 R/ID[<00112233445566778899AABBCCDDEEFF><00>]");
    FuzzEngine().OpenAndRead(file.data(), file.size());
    return 0;
}

int FuzzCjkFonts(const std::uint8_t *data, std::size_t size) {
    if (IsWholeFile(data, size)) {
        FuzzEngine().OpenAndRead(data, size);
        return 0;
    }
    const bool embedded = size > 0 && (data[0] & 1);
    const std::string part = Part(data, size);
    const std::string font =
        embedded ? GbkFontEmbedding(part) : "5 0 obj\n<</Type/Font " + part + ">>\nendobj\n";
    const std::string file =
        SmallDocument("<</Font<</F 5 0 R>>>>", kChineseText, font, embedded ? 3 : 1, "");
    FuzzEngine().OpenAndRead(file.data(), file.size());
    return 0;
}
