// EPUBs in the shapes books come in, made at test time from the Chinese Debian FAQ: by hand
// (nested and unlinked contents, shared targets, cover, title and contents pages, a zh-TW book,
// a book of more entries than a .qbr2 holds), by pandoc (three levels, a cover) and by Calibre's
// converter (EPUB 2, a book split across files, tuned contents). Each is read with its contents
// and text as the source has them, generated into a complete set of books (or parts), and
// written back as an EPUB that keeps contents, levels, title, author, language and cover and
// passes the checker.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "e2e/CliTestSupport.h"
#include "e2e/EpubChecker.h"
#include "epub/EpubCover.h"
#include "epub/EpubReader.h"
#include "epub/EpubZip.h"
#include "support/TestSupport.h"

namespace brisna::e2e {
namespace {

using test::U;

// An entry of the contents as the source has it, and the line its offset must open (UTF-8;
// empty when the entry opens the book and whatever stands ahead of its heading).
struct Expected {
    int level;
    std::string title;
    std::string line;
};

struct Shape {
    std::string name;  // the EPUB's file name without ".epub", in a folder of that name
    std::vector<Expected> contents;
    std::vector<std::string> paragraphs;  // UTF-8, each a line of the text read
    std::string title;                    // the package's title as read
    bool cover = false;                   // the source has a cover picture
    bool parts = false;                   // more entries than a .qbr2 holds
};

struct Sources {
    std::vector<std::string> prose;
    size_t next = 0;
    // The next paragraph of prose, noted as one the shape's text must hold.
    std::string Paragraph(Shape& shape) {
        std::string paragraph = prose[next++ % prose.size()];
        shape.paragraphs.push_back(paragraph);
        return paragraph;
    }
};

std::string Xhtml(const std::string& body) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<html xmlns=\"http://www.w3.org/1999/"
           "xhtml\" xmlns:epub=\"http://www.idpf.org/2007/ops\"><head><title>t</title></head>"
           "<body>" +
           body + "</body></html>";
}

// An EPUB 3 package of the documents (name, body) in spine order, with the nav's list and the
// metadata given; a document named nav.xhtml is the nav, cover.png the cover picture.
std::string HandMadeEpub(const std::vector<std::pair<std::string, std::string>>& documents,
                         const std::string& navList, const std::string& metadata,
                         const std::string& coverPng) {
    std::vector<ZipEntry> entries{
        {"mimetype", "application/epub+zip", true},
        {"META-INF/container.xml",
         "<?xml version=\"1.0\"?><container version=\"1.0\" xmlns=\"urn:oasis:names:tc:"
         "opendocument:xmlns:container\"><rootfiles><rootfile full-path=\"OPS/book.opf\" "
         "media-type=\"application/oebps-package+xml\"/></rootfiles></container>",
         false}};
    std::string manifest, spine;
    for (size_t i = 0; i < documents.size(); ++i) {
        const std::string id = "d" + std::to_string(i);
        manifest += "<item id=\"" + id + "\" href=\"" + documents[i].first +
                    "\" media-type=\"application/xhtml+xml\"" +
                    (documents[i].first == "nav.xhtml" ? " properties=\"nav\"" : "") + "/>";
        spine += "<itemref idref=\"" + id + "\"/>";
        entries.push_back({"OPS/" + documents[i].first, Xhtml(documents[i].second), false});
    }
    if (!coverPng.empty()) {
        manifest +=
            "<item id=\"pic\" href=\"cover.png\" media-type=\"image/png\" "
            "properties=\"cover-image\"/>";
        entries.push_back({"OPS/cover.png", coverPng, true});
    }
    entries.push_back(
        {"OPS/book.opf",
         "<?xml version=\"1.0\"?><package xmlns=\"http://www.idpf.org/2007/opf\" version=\"3.0\" "
         "unique-identifier=\"id\"><metadata xmlns:dc=\"http://purl.org/dc/elements/1.1/\">"
         "<dc:identifier id=\"id\">urn:uuid:3e6a1c1e-0000-4000-8000-000000000001</dc:identifier>" +
             metadata + "</metadata><manifest>" + manifest + "</manifest><spine>" + spine +
             "</spine></package>",
         false});
    for (ZipEntry& entry : entries) {
        if (entry.name == "OPS/nav.xhtml") {
            entry.bytes = Xhtml("<nav epub:type=\"toc\"><h1>目录</h1>" + navList +
                                "</nav><nav epub:type=\"landmarks\"><ol><li><a epub:type=\"toc\" "
                                "href=\"nav.xhtml\">目录</a></li></ol></nav>");
        }
    }
    return BuildZip(entries).value_or("");
}

// Parts, volumes and chapters; labels without links; a chapter sharing its volume's target; a
// cover page, a title page and the nav itself in the reading order; a zh-TW book of two authors.
Shape HandNested(Sources& sources, const std::filesystem::path& folder) {
    Shape shape{"nested", {}, {}, "小城春秋", true};
    auto paragraphs = [&](int count) {
        std::string out;
        for (int i = 0; i < count; ++i) out += "<p>" + sources.Paragraph(shape) + "</p>";
        return out;
    };
    const std::vector<std::pair<std::string, std::string>> documents{
        {"cover.xhtml", "<div><img src=\"cover.png\" alt=\"\"/></div>"},
        {"title.xhtml", "<h1>小城春秋</h1><p>甲作者</p>"},
        {"nav.xhtml", ""},
        {"v1.xhtml", "<h2>第一卷 春</h2><h3>第一章 出门</h3>" + paragraphs(3) +
                         "<h3 id=\"c2\">第二章 进城</h3>" + paragraphs(3)},
        {"v2.xhtml",
         "<h2>第二卷 夏</h2>" + paragraphs(1) + "<h3 id=\"c3\">第三章 落雨</h3>" + paragraphs(3)},
        {"c4.xhtml", "<h2>第三卷 秋</h2><h3>第四章 归来</h3>" + paragraphs(3)},
        {"c5.xhtml", "<h3>第五章 尾声</h3>" + paragraphs(3)}};
    const std::string nav =
        "<ol><li><span>上部</span><ol><li><a href=\"v1.xhtml\">第一卷 春</a><ol><li><a "
        "href=\"v1.xhtml\">第一章 出门</a></li><li><a href=\"v1.xhtml#c2\">第二章 进城</a></li>"
        "</ol></li><li><a href=\"v2.xhtml\">第二卷 夏</a><ol><li><a href=\"v2.xhtml#c3\">第三章 "
        "落雨</a></li></ol></li></ol></li><li><span>下部</span><ol><li><span>第三卷 秋</span><ol>"
        "<li><a href=\"c4.xhtml\">第四章 归来</a></li><li><a href=\"c5.xhtml\">第五章 尾声</a>"
        "</li></ol></li></ol></li></ol>";
    const std::string metadata =
        "<dc:title>小城春秋</dc:title><dc:creator>甲作者</dc:creator><dc:creator>乙作者"
        "</dc:creator><dc:language>zh-TW</dc:language>";
    const EpubCover cover = DrawCover("小城春秋", "甲作者");
    test::WriteFileBytes(folder / "nested.epub",
                         HandMadeEpub(documents, nav, metadata, cover.bytes));
    shape.contents = {{1, "上部", ""},
                      {2, "第一卷 春", "第一卷 春"},
                      {3, "第一章 出门", "第一卷 春"},
                      {3, "第二章 进城", "第二章 进城"},
                      {2, "第二卷 夏", "第二卷 夏"},
                      {3, "第三章 落雨", "第三章 落雨"},
                      {1, "下部", "第三卷 秋"},
                      {2, "第三卷 秋", "第三卷 秋"},
                      {3, "第四章 归来", "第三卷 秋"},
                      {3, "第五章 尾声", "第五章 尾声"}};
    return shape;
}

// 110 chapters in two volumes, each volume sharing its first chapter's target.
Shape HandLong(Sources& sources, const std::filesystem::path& folder) {
    Shape shape{"long", {}, {}, "长篇"};
    shape.parts = true;
    std::vector<std::pair<std::string, std::string>> documents;
    std::string nav = "<ol>";
    for (int volume = 1; volume <= 2; ++volume) {
        const std::string volumeTitle = "第" + std::to_string(volume) + "卷";
        for (int chapter = 1; chapter <= 55; ++chapter) {
            const int number = (volume - 1) * 55 + chapter;
            const std::string name = "c" + std::to_string(number) + ".xhtml";
            const std::string title = "第" + std::to_string(number) + "章";
            std::string body = chapter == 1 ? "<h1>" + volumeTitle + "</h1>" : "";
            body += "<h2>" + title + "</h2>";
            for (int i = 0; i < 3; ++i) body += "<p>" + sources.Paragraph(shape) + "</p>";
            documents.push_back({name, body});
            if (chapter == 1) {
                nav += "<li><a href=\"" + name + "\">" + volumeTitle + "</a><ol>";
                shape.contents.push_back({1, volumeTitle, number == 1 ? "" : volumeTitle});
            }
            nav += "<li><a href=\"" + name + "\">" + title + "</a></li>";
            shape.contents.push_back({2, title, chapter == 1 ? volumeTitle : title});
        }
        nav += "</ol></li>";
    }
    nav += "</ol>";
    documents.push_back({"nav.xhtml", ""});
    test::WriteFileBytes(folder / "long.epub",
                         HandMadeEpub(documents, nav,
                                      "<dc:title>长篇</dc:title><dc:creator>某人</dc:creator>"
                                      "<dc:language>zh-CN</dc:language>",
                                      ""));
    return shape;
}

// Markdown of parts (#), volumes (##) and chapters (###), or of volumes and chapters only, with
// text before the first heading; the contents expected of it.
std::string Markdown(Shape& shape, Sources& sources, bool parts) {
    std::string markdown = sources.Paragraph(shape) + "\n\n";
    const std::vector<std::string> partTitles{"上部", "下部"};
    int chapter = 0;
    for (int part = 0; part < (parts ? 2 : 1); ++part) {
        if (parts) {
            markdown += "# " + partTitles[part] + "\n\n";
            shape.contents.push_back({1, partTitles[part], part == 0 ? "" : partTitles[part]});
        }
        for (int volume = 1; volume <= 2; ++volume) {
            const std::string volumeTitle = "第" + std::to_string(part * 2 + volume) + "卷";
            markdown += std::string(parts ? "## " : "# ") + volumeTitle + "\n\n";
            shape.contents.push_back(
                {parts ? 2 : 1, volumeTitle, shape.contents.empty() ? "" : volumeTitle});
            for (int i = 0; i < 2; ++i) {
                const std::string title = "第" + std::to_string(++chapter) + "章 归途";
                markdown += std::string(parts ? "### " : "## ") + title + "\n\n" +
                            sources.Paragraph(shape) + "\n\n" + sources.Paragraph(shape) + "\n\n";
                shape.contents.push_back({parts ? 3 : 2, title, title});
            }
        }
    }
    return markdown;
}

Shape Pandoc(Sources& sources, const std::filesystem::path& folder, bool threeLevels) {
    Shape shape{threeLevels ? "pandoc3" : "pandoccover", {}, {}, "小城春秋", !threeLevels};
    const std::string markdown = "---\ntitle: 小城春秋\nauthor: 编者\nlang: " +
                                 std::string(threeLevels ? "zh-TW" : "zh-CN") + "\n---\n\n" +
                                 Markdown(shape, sources, threeLevels);
    test::WriteFileBytes(folder / (shape.name + ".md"), markdown);
    std::string command = "pandoc " + shape.name + ".md -o " + shape.name + ".epub --toc";
    if (!threeLevels) {
        test::WriteFileBytes(folder / "cover.png", DrawCover("小城春秋", "编者").bytes);
        command += " --epub-cover-image=cover.png";
    }
    EXPECT_EQ(RunShell(command, folder).exitCode, 0) << command;
    return shape;
}

// An HTML book of two volumes (h1) of two chapters (h2), each chapter long enough to be cut
// across files at a small flow size.
std::string ConverterHtml(Shape& shape, Sources& sources, bool recognised) {
    std::string html =
        "<html><head><meta charset=\"utf-8\"/><title>小城春秋</title></head><body>\n";
    const char* numerals[] = {"一", "二", "三", "四"};
    for (int volume = 0; volume < 2; ++volume) {
        const std::string volumeTitle = std::string("第") + numerals[volume] + "卷";
        html += "<h1>" + volumeTitle + "</h1>\n";
        shape.contents.push_back({1, volumeTitle, volume == 0 ? "" : volumeTitle});
        for (int chapter = 0; chapter < 2; ++chapter) {
            const std::string title =
                std::string("第") + numerals[volume * 2 + chapter] + "章 标题";
            html += "<h2>" + title + "</h2>\n";
            shape.contents.push_back({2, title, title});
            for (int i = 0; i < 50; ++i) {
                // Paragraphs long enough for the converter to find places to cut a chapter.
                const std::string& first = sources.prose[sources.next++ % sources.prose.size()];
                const std::string& second = sources.prose[sources.next++ % sources.prose.size()];
                const std::string paragraph = first + "，" + second + "。";
                shape.paragraphs.push_back(paragraph);
                html += "<p>" + paragraph + "</p>\n";
            }
        }
    }
    // The recognition finds what the headings say, a first volume at the start of the text.
    if (recognised) shape.contents.front().line = "";
    return html + "</body></html>\n";
}

// Calibre's converter from one HTML book: EPUB 2 with its defaults (a contents of one "Start"
// entry, so the chapters are recognised), a book whose chapters are cut across files, and tuned
// contents of two levels without the default cover.
std::vector<Shape> Converted(Sources& sources, const std::filesystem::path& folder) {
    std::vector<Shape> shapes{{"calibre2", {}, {}, "小城春秋", true},
                              {"calibresplit", {}, {}, "小城春秋", true},
                              {"calibretuned", {}, {}, "小城春秋", false}};
    const std::string levels = " --level1-toc //h:h1 --level2-toc //h:h2";
    const std::vector<std::string> options{
        " --epub-version 2 --language zh-TW", " --flow-size 8 --language zh-CN" + levels,
        " --chapter //h:h2 --no-default-epub-cover --language zh-CN" + levels};
    std::string command;
    for (size_t i = 0; i < shapes.size(); ++i) {
        test::WriteFileBytes(folder / (shapes[i].name + ".html"),
                             ConverterHtml(shapes[i], sources, i == 0));
        command += "ebook-convert " + shapes[i].name + ".html " + shapes[i].name +
                   ".epub --title 小城春秋 --authors 编者" + options[i] + " >/dev/null 2>&1 & ";
    }
    // Each conversion spends most of its time starting up: run them side by side.
    RunShell(command + "wait", folder);
    std::vector<Shape> made;
    for (Shape& shape : shapes) {
        if (std::filesystem::exists(folder / (shape.name + ".epub"))) {
            made.push_back(shape);
        } else {
            std::cerr << "ebook-convert made no " << shape.name << ".epub here: not tried\n";
        }
    }
    return made;
}

class EpubShapes : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        dir_ = std::make_unique<test::TempDir>();
        Sources sources;
        sources.prose = test::ChineseParagraphs(Gunzip(kChineseFaq), 90, 600);
        if (sources.prose.size() < 100) {
            missing_ = "the Chinese Debian FAQ (debian-faq-zh-cn) is not installed";
            return;
        }
        const std::filesystem::path& folder = dir_->path();
        shapes_.push_back(HandNested(sources, folder));
        shapes_.push_back(HandLong(sources, folder));
        if (RunShell("pandoc --version", folder).exitCode == 0) {
            shapes_.push_back(Pandoc(sources, folder, true));
            shapes_.push_back(Pandoc(sources, folder, false));
        } else {
            std::cerr << "pandoc is not installed: its EPUBs are not tried\n";
        }
        if (RunShell("ebook-convert --version", folder).exitCode == 0) {
            for (Shape& shape : Converted(sources, folder)) shapes_.push_back(std::move(shape));
        } else {
            std::cerr << "ebook-convert (calibre) cannot run here: its EPUBs are not tried\n";
        }
    }
    static void TearDownTestSuite() {
        shapes_.clear();
        dir_.reset();
    }

    static std::unique_ptr<test::TempDir> dir_;
    static std::vector<Shape> shapes_;
    static std::string missing_;
};

std::unique_ptr<test::TempDir> EpubShapes::dir_;
std::vector<Shape> EpubShapes::shapes_;
std::string EpubShapes::missing_;

// The line of the text that starts at offset, without its line break (UTF-8).
std::string LineAt(const std::string& gbkText, uint32_t offset) {
    if (offset > gbkText.size()) return "(past the end)";
    const size_t end = std::min(gbkText.find("\r\n", offset), gbkText.size());
    return U(gbkText.substr(offset, end - offset));
}

std::string Shown(const std::vector<TocEntry>& toc) {
    std::string out;
    for (const TocEntry& entry : toc) {
        out += std::to_string(entry.level) + " " + U(entry.title) + " @" +
               std::to_string(entry.offset) + "\n";
    }
    return out;
}

TEST_F(EpubShapes, ReadAsTheSourceHasThemMadeIntoBooksAndWrittenBack) {
    if (!missing_.empty()) GTEST_SKIP() << missing_;
    if (!HaveChecker()) std::cerr << "epubcheck (and a Java runtime) not installed: not checked\n";
    for (const Shape& shape : shapes_) {
        SCOPED_TRACE(shape.name);
        const std::filesystem::path folder = dir_->path() / shape.name;
        std::filesystem::create_directory(folder);
        const std::string epub = shape.name + ".epub";
        std::filesystem::copy_file(dir_->path() / epub, folder / epub);
        EpubReadResult source = ReadEpub(test::ReadFileBytes(folder / epub));
        ASSERT_TRUE(source.ok) << U(source.message);
        const EpubBook& book = source.book;

        // The contents: level, title and the line each entry opens.
        std::vector<std::string> got, expected;
        for (size_t i = 0; i < book.toc.size(); ++i) {
            const bool lineChecked = i >= shape.contents.size() || !shape.contents[i].line.empty();
            got.push_back(std::to_string(book.toc[i].level) + " " + U(book.toc[i].title) + " | " +
                          (lineChecked ? LineAt(book.text, book.toc[i].offset) : ""));
        }
        for (const Expected& entry : shape.contents) {
            expected.push_back(std::to_string(entry.level) + " " + entry.title + " | " +
                               entry.line);
        }
        EXPECT_EQ(got, expected);
        // The text: every paragraph of the source, whole, as a line of its own.
        const std::string text = U(book.text);
        for (const std::string& paragraph : shape.paragraphs) {
            const size_t at = text.find(paragraph + "\r\n");
            EXPECT_TRUE(at != std::string::npos && (at == 0 || text[at - 1] == '\n'))
                << "not a line of the text: " << paragraph;
        }
        EXPECT_EQ(book.metadata.title, shape.title);
        EXPECT_EQ(book.metadata.cover.Empty(), !shape.cover);

        // Into books: every .qbr2 with its .qbr, and the reverse; parts where the list is full.
        CliResult generate = RunCli({"generate", epub}, folder);
        EXPECT_EQ(generate.exitCode, 0) << generate.err;
        EXPECT_FALSE(generate.Lines().empty());
        for (const auto& file : std::filesystem::directory_iterator(folder)) {
            const std::string name = file.path().filename().string();
            if (name.ends_with(".qbr2")) {
                EXPECT_TRUE(std::filesystem::exists(folder / name.substr(0, name.size() - 1)))
                    << name;
            } else if (name.ends_with(".qbr")) {
                EXPECT_TRUE(std::filesystem::exists(folder / (name + "2"))) << name;
            }
        }
        EXPECT_EQ(generate.err.find("按分册生成") != std::string::npos, shape.parts)
            << generate.err;

        // Back to an EPUB: the same text, contents, levels, title, authors, language and cover.
        CliResult written = RunCli({"epub", epub, "-o", "back.epub", "--keep-blank-lines"}, folder);
        ASSERT_EQ(written.exitCode, 0) << written.err;
        EpubReadResult back = ReadEpub(test::ReadFileBytes(folder / "back.epub"));
        ASSERT_TRUE(back.ok) << U(back.message);
        EXPECT_EQ(Shown(back.book.toc), Shown(book.toc));
        EXPECT_TRUE(back.book.text == book.text);
        EXPECT_EQ(back.book.metadata.title, book.metadata.title);
        EXPECT_EQ(back.book.metadata.author, book.metadata.author);
        EXPECT_EQ(back.book.metadata.moreAuthors, book.metadata.moreAuthors);
        EXPECT_EQ(back.book.metadata.language, book.metadata.language);
        // A book without a cover gets one drawn from its title.
        if (shape.cover) {
            EXPECT_TRUE(back.book.metadata.cover.bytes == book.metadata.cover.bytes);
        }
        EXPECT_FALSE(back.book.metadata.cover.Empty());
        EXPECT_CHECKER_CLEAN(folder / "back.epub");
    }
}

}  // namespace
}  // namespace brisna::e2e
