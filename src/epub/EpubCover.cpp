#include "epub/EpubCover.h"

#include <cairo.h>
#include <pango/pangocairo.h>
#include <sys/stat.h>

#include <memory>

#include "book/GenerationPlan.h"
#include "text/FileReading.h"

namespace brisna {

std::optional<std::string> PictureMediaType(std::string_view bytes) {
    if (bytes.starts_with("\xFF\xD8\xFF")) return "image/jpeg";
    if (bytes.starts_with("\x89PNG\r\n\x1A\n")) return "image/png";
    return std::nullopt;
}

namespace {

struct Colour {
    double red, green, blue;
};

// Quiet grounds of cloth-bound books; the ink is a warm paper white on all of them.
constexpr Colour kGrounds[] = {
    {0x2f / 255.0, 0x4f / 255.0, 0x4f / 255.0},  // slate
    {0x5b / 255.0, 0x3a / 255.0, 0x29 / 255.0},  // walnut
    {0x1f / 255.0, 0x3a / 255.0, 0x5f / 255.0},  // indigo
    {0x4a / 255.0, 0x5d / 255.0, 0x3a / 255.0},  // moss
    {0x6b / 255.0, 0x2e / 255.0, 0x2e / 255.0},  // cinnabar, darkened
    {0x3d / 255.0, 0x3d / 255.0, 0x5c / 255.0},  // dusk
};
constexpr Colour kInk = {0xf3 / 255.0, 0xeb / 255.0, 0xd8 / 255.0};

// The ground follows from the title alone, so a shelf of books is not all one colour while each
// book keeps its own.
const Colour& GroundFor(std::string_view title) {
    uint32_t sum = 2166136261u;
    for (unsigned char byte : title) sum = (sum ^ byte) * 16777619u;
    return kGrounds[sum % std::size(kGrounds)];
}

struct SurfaceDeleter {
    void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
struct ContextDeleter {
    void operator()(cairo_t* context) const { cairo_destroy(context); }
};
struct ObjectDeleter {
    void operator()(void* object) const { g_object_unref(object); }
};
struct FontDeleter {
    void operator()(PangoFontDescription* font) const { pango_font_description_free(font); }
};

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

cairo_status_t AppendPng(void* closure, const unsigned char* data, unsigned int length) {
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
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
    titleUtf8 = title;
    authorUtf8 = author;
    std::unique_ptr<cairo_surface_t, SurfaceDeleter> surface(
        cairo_image_surface_create(CAIRO_FORMAT_RGB24, kCoverWidth, kCoverHeight));
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) return {};
    std::unique_ptr<cairo_t, ContextDeleter> cairo(cairo_create(surface.get()));

    const Colour& ground = GroundFor(titleUtf8);
    cairo_set_source_rgb(cairo.get(), ground.red, ground.green, ground.blue);
    cairo_paint(cairo.get());
    // A double frame inside the edge, as on a bound book's board.
    cairo_set_source_rgb(cairo.get(), kInk.red, kInk.green, kInk.blue);
    cairo_set_line_width(cairo.get(), 6);
    cairo_rectangle(cairo.get(), 60, 60, kCoverWidth - 120, kCoverHeight - 120);
    cairo_stroke(cairo.get());
    cairo_set_line_width(cairo.get(), 2);
    cairo_rectangle(cairo.get(), 80, 80, kCoverWidth - 160, kCoverHeight - 160);
    cairo_stroke(cairo.get());

    // Glyphs drawn the same way whatever the desktop's settings, so the bytes never change.
    std::unique_ptr<PangoLayout, ObjectDeleter> layout(pango_cairo_create_layout(cairo.get()));
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    pango_cairo_context_set_font_options(pango_layout_get_context(layout.get()), options);
    cairo_font_options_destroy(options);
    pango_layout_context_changed(layout.get());

    constexpr int kColumn = kCoverWidth - 2 * 160;
    const int titleHeight =
        SetText(layout.get(), titleUtf8.empty() ? "（无标题）" : titleUtf8,
                "Noto Serif CJK SC, Noto Sans CJK SC, serif Bold", 110, kColumn, 4);
    int y = kCoverHeight * 2 / 5 - titleHeight / 2;
    cairo_move_to(cairo.get(), 160, y);
    pango_cairo_show_layout(cairo.get(), layout.get());
    y += titleHeight + 60;
    // A short rule between title and author.
    cairo_set_line_width(cairo.get(), 3);
    cairo_move_to(cairo.get(), kCoverWidth / 2 - 120, y);
    cairo_line_to(cairo.get(), kCoverWidth / 2 + 120, y);
    cairo_stroke(cairo.get());
    if (!authorUtf8.empty()) {
        SetText(layout.get(), authorUtf8, "Noto Serif CJK SC, Noto Sans CJK SC, serif", 56, kColumn,
                2);
        cairo_move_to(cairo.get(), 160, y + 60);
        pango_cairo_show_layout(cairo.get(), layout.get());
    }
    cairo_surface_flush(surface.get());
    if (cairo_status(cairo.get()) != CAIRO_STATUS_SUCCESS) return {};

    EpubCover cover;
    if (cairo_surface_write_to_png_stream(surface.get(), AppendPng, &cover.bytes) !=
        CAIRO_STATUS_SUCCESS) {
        return {};
    }
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
