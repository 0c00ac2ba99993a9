#include "epub/EpubCover.h"

#include <fontconfig/fontconfig.h>
#include <pango/pangoft2.h>
#include <png.h>
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>

#include "book/GenerationPlan.h"
#include "epub/EpubMessages.h"
#include "text/FileReading.h"

namespace brisna {

std::optional<std::string> PictureMediaType(std::string_view bytes) {
    if (bytes.starts_with("\xFF\xD8\xFF")) return "image/jpeg";
    if (bytes.starts_with("\x89PNG\r\n\x1A\n")) return "image/png";
    return std::nullopt;
}

namespace {

struct Colour {
    uint8_t red, green, blue;
};

// Quiet grounds of cloth-bound books; the ink is a warm paper white on all of them.
constexpr Colour kGrounds[] = {
    {0x2f, 0x4f, 0x4f},  // slate
    {0x5b, 0x3a, 0x29},  // walnut
    {0x1f, 0x3a, 0x5f},  // indigo
    {0x4a, 0x5d, 0x3a},  // moss
    {0x6b, 0x2e, 0x2e},  // cinnabar, darkened
    {0x3d, 0x3d, 0x5c},  // dusk
};
constexpr Colour kInk = {0xf3, 0xeb, 0xd8};

// The ground follows from the title alone, so a shelf of books is not all one colour while each
// book keeps its own.
const Colour& GroundFor(std::string_view title) {
    uint32_t sum = 2166136261u;
    for (unsigned char byte : title) sum = (sum ^ byte) * 16777619u;
    return kGrounds[sum % std::size(kGrounds)];
}

struct ObjectDeleter {
    void operator()(void* object) const { g_object_unref(object); }
};
struct FontDeleter {
    void operator()(PangoFontDescription* font) const { pango_font_description_free(font); }
};

// How much ink each pixel of the cover takes, 0 (ground) to 255 (ink). Everything is drawn in
// the one ink, so the picture is this coverage laid over the ground.
class InkCoverage {
  public:
    InkCoverage() : cells_(static_cast<size_t>(kCoverWidth) * kCoverHeight, 0) {
        bitmap_.rows = kCoverHeight;
        bitmap_.width = kCoverWidth;
        bitmap_.pitch = kCoverWidth;
        bitmap_.buffer = cells_.data();
        bitmap_.num_grays = 256;
        bitmap_.pixel_mode = FT_PIXEL_MODE_GRAY;
    }

    FT_Bitmap* Bitmap() { return &bitmap_; }

    // An axis-aligned rectangle; edges between pixels give those pixels the part they cover.
    void Fill(double left, double top, double right, double bottom) {
        left = std::max(left, 0.0);
        top = std::max(top, 0.0);
        right = std::min(right, static_cast<double>(kCoverWidth));
        bottom = std::min(bottom, static_cast<double>(kCoverHeight));
        if (left >= right || top >= bottom) return;
        for (int y = static_cast<int>(top); y < bottom; ++y) {
            const double rowShare = std::min(bottom, y + 1.0) - std::max(top, double(y));
            for (int x = static_cast<int>(left); x < right; ++x) {
                const double share =
                    rowShare * (std::min(right, x + 1.0) - std::max(left, double(x)));
                uint8_t& cell = cells_[static_cast<size_t>(y) * kCoverWidth + x];
                cell = std::max(cell, static_cast<uint8_t>(std::lround(share * 255)));
            }
        }
    }

    // The outline of a rectangle drawn with a pen of the given width centred on its edges.
    void Frame(double left, double top, double width, double height, double pen) {
        const double half = pen / 2;
        const double right = left + width, bottom = top + height;
        Fill(left - half, top - half, right + half, top + half);
        Fill(left - half, bottom - half, right + half, bottom + half);
        Fill(left - half, top + half, left + half, bottom - half);
        Fill(right - half, top + half, right + half, bottom - half);
    }

    // RGB rows of the ground with the ink laid over it by its coverage.
    std::vector<uint8_t> Composite(const Colour& ground) const {
        std::vector<uint8_t> pixels(cells_.size() * 3);
        auto blend = [](uint8_t under, uint8_t over, uint8_t coverage) {
            return static_cast<uint8_t>((under * (255 - coverage) + over * coverage + 127) / 255);
        };
        for (size_t i = 0; i < cells_.size(); ++i) {
            pixels[3 * i] = blend(ground.red, kInk.red, cells_[i]);
            pixels[3 * i + 1] = blend(ground.green, kInk.green, cells_[i]);
            pixels[3 * i + 2] = blend(ground.blue, kInk.blue, cells_[i]);
        }
        return pixels;
    }

  private:
    std::vector<uint8_t> cells_;
    FT_Bitmap bitmap_{};
};

// Glyphs are drawn the same way whatever the machine's font settings say, so the bytes of a
// cover never change: gray antialiasing, no hinting.
void PlainGlyphs(FcPattern* pattern, gpointer) {
    FcPatternDel(pattern, FC_ANTIALIAS);
    FcPatternAddBool(pattern, FC_ANTIALIAS, FcTrue);
    FcPatternDel(pattern, FC_HINTING);
    FcPatternAddBool(pattern, FC_HINTING, FcFalse);
    FcPatternDel(pattern, FC_HINT_STYLE);
    FcPatternAddInteger(pattern, FC_HINT_STYLE, FC_HINT_NONE);
    FcPatternDel(pattern, FC_AUTOHINT);
    FcPatternAddBool(pattern, FC_AUTOHINT, FcFalse);
    FcPatternDel(pattern, FC_RGBA);
    FcPatternAddInteger(pattern, FC_RGBA, FC_RGBA_NONE);
}

// Sets text centred in a column of the given width, at most maxLines lines (the rest
// ellipsised), and returns the height it takes, in pixels.
int SetText(PangoLayout* layout, std::string_view text, const char* face, int pixelSize, int width,
            int maxLines) {
    std::unique_ptr<PangoFontDescription, FontDeleter> font(
        pango_font_description_from_string(face));
    pango_font_description_set_absolute_size(font.get(), pixelSize * PANGO_SCALE);
    pango_layout_set_font_description(layout, font.get());
    pango_layout_set_width(layout, width * PANGO_SCALE);
    pango_layout_set_height(layout, -maxLines);
    pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
    pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_END);
    pango_layout_set_alignment(layout, PANGO_ALIGN_CENTER);
    pango_layout_set_text(layout, text.data(), static_cast<int>(text.size()));
    int textWidth = 0, textHeight = 0;
    pango_layout_get_pixel_size(layout, &textWidth, &textHeight);
    return textHeight;
}

// The picture as a PNG; empty when it cannot be encoded.
std::string EncodePng(const std::vector<uint8_t>& rgb) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = kCoverWidth;
    image.height = kCoverHeight;
    image.format = PNG_FORMAT_RGB;
    png_alloc_size_t size = PNG_IMAGE_PNG_SIZE_MAX(image);
    std::string png(size, '\0');
    const int written =
        png_image_write_to_memory(&image, png.data(), &size, 0, rgb.data(), 0, nullptr);
    png_image_free(&image);
    if (written == 0) return {};
    png.resize(size);
    return png;
}

// A title longer than a cover can hold is cut at a character boundary (UTF-8).
std::string_view Shortened(std::string_view utf8, size_t maxBytes) {
    if (utf8.size() <= maxBytes) return utf8;
    size_t end = maxBytes;
    while (end > 0 && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80) --end;
    return utf8.substr(0, end);
}

std::string ValidUtf8(std::string_view text) {
    gchar* valid = g_utf8_make_valid(text.data(), static_cast<gssize>(text.size()));
    std::string out = valid != nullptr ? valid : "";
    g_free(valid);
    return out;
}

}  // namespace

EpubCover DrawCover(std::string_view titleUtf8, std::string_view authorUtf8) {
    // Text that is not valid UTF-8 is mended first: the layout would set nothing of it.
    const std::string title = ValidUtf8(Shortened(titleUtf8, 400));
    const std::string author = ValidUtf8(Shortened(authorUtf8, 200));

    // The text is laid out through FreeType and fontconfig alone, so drawing a cover needs no
    // display library.
    std::unique_ptr<PangoFontMap, ObjectDeleter> fontMap(pango_ft2_font_map_new());
    if (!fontMap) return {};
    pango_ft2_font_map_set_resolution(PANGO_FT2_FONT_MAP(fontMap.get()), 96, 96);
    pango_fc_font_map_set_default_substitute(PANGO_FC_FONT_MAP(fontMap.get()), PlainGlyphs, nullptr,
                                             nullptr);
    std::unique_ptr<PangoContext, ObjectDeleter> context(
        pango_font_map_create_context(fontMap.get()));
    // Glyphs stand where the font puts them, not on whole pixels.
    pango_context_set_round_glyph_positions(context.get(), FALSE);
    std::unique_ptr<PangoLayout, ObjectDeleter> layout(pango_layout_new(context.get()));

    InkCoverage ink;
    // A double frame inside the edge, as on a bound book's board.
    ink.Frame(60, 60, kCoverWidth - 120, kCoverHeight - 120, 6);
    ink.Frame(80, 80, kCoverWidth - 160, kCoverHeight - 160, 2);

    constexpr int kColumn = kCoverWidth - 2 * 160;
    const int titleHeight =
        SetText(layout.get(), title.empty() ? epub_messages::kUntitled : title,
                "Noto Serif CJK SC, Noto Sans CJK SC, serif Bold", 110, kColumn, 4);
    int y = kCoverHeight * 2 / 5 - titleHeight / 2;
    pango_ft2_render_layout(ink.Bitmap(), layout.get(), 160, y);
    y += titleHeight + 60;
    // A short rule between title and author.
    ink.Fill(kCoverWidth / 2 - 120, y - 1.5, kCoverWidth / 2 + 120, y + 1.5);
    if (!author.empty()) {
        SetText(layout.get(), author, "Noto Serif CJK SC, Noto Sans CJK SC, serif", 56, kColumn, 2);
        pango_ft2_render_layout(ink.Bitmap(), layout.get(), 160, y + 60);
    }

    EpubCover cover;
    cover.bytes = EncodePng(ink.Composite(GroundFor(title)));
    if (cover.bytes.empty()) return {};
    cover.mediaType = "image/png";
    return cover;
}

std::vector<std::string> CoversBesideBook(std::string_view bookSourcePath) {
    std::vector<std::string> found;
    if (bookSourcePath.empty()) return found;
    const size_t slash = bookSourcePath.rfind('/');
    const std::string folder = slash == std::string_view::npos
                                   ? std::string()
                                   : std::string(bookSourcePath.substr(0, slash + 1));
    const std::string base = OutputBase(bookSourcePath);
    for (const std::string& candidate :
         {folder + "cover.jpg", folder + "cover.png", base + ".jpg", base + ".png"}) {
        struct stat info {};
        if (::stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
            found.push_back(candidate);
        }
    }
    return found;
}

CoverFileResult ReadCoverFile(const std::string& path) {
    CoverFileResult result;
    FileReadResult file = ReadRegularFile(path, kMaxCoverBytes);
    if (file.status == FileReadStatus::kTooLarge) {
        result.status = CoverFileStatus::kTooLarge;
        return result;
    }
    if (file.status != FileReadStatus::kOk) {
        result.status = CoverFileStatus::kCannotRead;
        result.error = file.error;
        return result;
    }
    std::optional<std::string> type = PictureMediaType(file.bytes);
    if (!type) {
        result.status = CoverFileStatus::kNotAPicture;
        return result;
    }
    result.cover.mediaType = *type;
    result.cover.bytes = std::move(file.bytes);
    return result;
}

}  // namespace brisna

#if defined(__SANITIZE_ADDRESS__)
// fontconfig keeps the patterns of its font matches until the process ends and never frees
// them; the leak checker of the sanitizer builds is told so, and still sees everything else.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
// The count of suppressed leaks would end up among a command's messages on standard error.
extern "C" const char* __lsan_default_options() {
    return "print_suppressions=0";
}
#endif
