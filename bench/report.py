#!/usr/bin/env python3
"""Turns the JSON files of one benchmark run into the comparison table.

usage: report.py RESULTS_FOLDER

RESULTS_FOLDER holds <Program>.json (Google Benchmark output, one per bench_<Program>) and
optionally memory.json and check-*.json (time and peak memory of the command line, written by
bench/run.sh). Prints the
table as Markdown. A row whose benchmark did not run says "not measured".
"""

import json
import os
import sys

UNIT_MS = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1000.0}

# Each row: what is measured, on what, our benchmark (program, name), the reference benchmark
# on the same input in the same run (or None), and the target: ("ratio", r) for ours/reference
# at most r, ("ms", t) for our median under t milliseconds, or both.
ROWS = [
    {
        "operation": "生成EPUB (EPUB 3, one document per chapter)",
        "input": "book of about 10 MiB of real text, 98 chapters",
        "ours": ("EpubBench", "BM_EpubWrite"),
        "reference": "zip -9 of the same text file",
        "ref": ("EpubBench", "BM_Zip9SameText"),
        "targets": [("ratio", 1.5)],
    },
    {
        "operation": "打开EPUB (unzip, parse every document, GBK text, contents)",
        "input": "the EPUB above",
        "ours": ("EpubBench", "BM_EpubOpen"),
        "reference": None,
        "ref": None,
        "targets": [("ms", 1000.0)],
    },
    {
        "operation": "生成EPUB of a whole novel (outline, contents, archive, write)",
        "input": "9.8 MB novel, 3,000 chapters in 30 volumes, nothing marked",
        "ours": ("EpubBench", "BM_EpubWriteWholeNovel"),
        "reference": None,
        "ref": None,
        "targets": [("ms", 1000.0)],
    },
    {
        "operation": "打开EPUB of that novel (3,030 contents entries)",
        "input": "the novel's EPUB",
        "ours": ("EpubBench", "BM_EpubOpenWholeNovel"),
        "reference": None,
        "ref": None,
        "targets": [("ms", 1000.0)],
    },
    {
        "operation": "生成EPUB with the drawn cover (metadata, 1200×1600 PNG through Pango on FreeType and libpng, archive)",
        "input": "the 10 MiB book above",
        "ours": ("EpubBench", "BM_EpubBuildWithDrawnCover"),
        "reference": "the same without a cover",
        "ref": ("EpubBench", "BM_EpubBuildWithoutCover"),
        "targets": [("ratio", 1.2)],
    },
    {
        "operation": "生成qbr (generate .qbr2 + .qbr)",
        "input": "largest valid book: 98 chapters x 30,720 GBK bytes",
        "ours": ("GenerateBench", "BM_GenerateLargestBook"),
        "reference": "zlib compress, same UTF-16 text",
        "ref": ("GenerateBench", "BM_ZlibCompressSameUtf16"),
        "targets": [("ratio", 2.0), ("ms", 1000.0)],
    },
    {
        "operation": "LZ77 Compress",
        "input": "64 real-text chapters of 32,764 UTF-16 bytes",
        "ours": ("Lz77Bench", "Lz77/Compress"),
        "reference": "zlib compress (default level)",
        "ref": ("Lz77Bench", "Zlib/Compress"),
        "targets": [("ratio", 1.0)],
    },
    {
        "operation": "LZ77 decode",
        "input": "the same chapters, compressed",
        "ours": ("Lz77Bench", "Lz77/Decode"),
        "reference": "zlib uncompress",
        "ref": ("Lz77Bench", "Zlib/Uncompress"),
        "targets": [],
    },
    {
        "operation": "打开txt文件 (read, digits, normalise, view, line table)",
        "input": "book of 10 MiB - 1 byte",
        "ours": ("LoadingBench", "BM_LoadBookWithLineTable"),
        "reference": "fread + one memchr pass",
        "ref": ("LoadingBench", "BM_ReadAndFindLineEnds"),
        "targets": [("ratio", 3.0), ("ms", 1000.0)],
    },
    {
        "operation": "打开txt文件 of a UTF-8 book (detect, convert, load)",
        "input": "UTF-8 book whose GBK text is 10 MiB - 1 byte",
        "ours": ("LoadingBench", "BM_LoadUtf8BookWithDetection"),
        "reference": "the same text as a GBK file, same load",
        "ref": ("LoadingBench", "BM_LoadGbkSameTextWithDetection"),
        "targets": [("ratio", 2.0)],
    },
    {
        "operation": "生成测试, problem list empty",
        "input": "10 MiB book, 98 chapters, 200 suspicious words",
        "ours": ("TestCommandBench", "BM_TestCommandLargestBook"),
        "reference": None,
        "ref": None,
        "targets": [("ms", 1000.0)],
    },
    {
        "operation": "生成测试, pressed again (old findings cleared first)",
        "input": "10 MiB book, 98 chapters, 200 suspicious words",
        "ours": ("TestCommandBench", "BM_TestCommandLargestBookAgain"),
        "reference": None,
        "ref": None,
        "targets": [("ms", 1000.0)],
    },
    {
        "operation": "检查缺章 right after 生成测试",
        "input": "10 MiB book, 98 chapters, 生成测试's findings in the list",
        "ours": ("TestCommandBench", "BM_CheckMissingAfterTest"),
        "reference": None,
        "ref": None,
        "targets": [("ms", 1000.0)],
    },
    {
        "operation": "递增添加章节, 98 chapters",
        "input": "10 MiB book",
        "ours": ("IncrementalAddBench", "BM_IncrementalAdd98Chapters"),
        "reference": None,
        "ref": None,
        "targets": [("ms", 1000.0)],
    },
    {
        "operation": "模糊添加章节, 98 chapters",
        "input": "10 MiB book",
        "ours": ("IncrementalAddBench", "BM_KeywordAdd98Chapters"),
        "reference": None,
        "ref": None,
        "targets": [("ms", 1000.0)],
    },
    {
        "operation": "自动识别章节 / detect (heading recognition)",
        "input": "10 MiB book, contents list, 400 chapters, cross-references",
        "ours": ("DetectBench", "BM_DetectHeadingPatterns10MiB"),
        "reference": None,
        "ref": None,
        "targets": [("ms", 300.0)],
    },
    {
        "operation": "自动识别章节 / detect: the whole outline, mixed heading forms",
        "input": "10 MiB novel, 3,000 chapters: volumes on the chapter line, 【】, 正文 prefix, sections",
        "ours": ("RecognitionBench", "BM_RecognitionMixedForms10MiB"),
        "reference": None,
        "ref": None,
        "targets": [("ms", 300.0)],
    },
    {
        "operation": "`--pattern` (ICU regular expression at every line start)",
        "input": "the same 10 MiB novel of mixed forms",
        "ours": ("RecognitionBench", "BM_PatternMixedForms10MiB"),
        "reference": None,
        "ref": None,
        "targets": [("ms", 500.0)],
    },
    {
        "operation": "outline of headings in runs of three (two heading-only lines, then text)",
        "input": "10 MiB of such runs, about 400,000 headings",
        "ours": ("RecognitionBench", "BM_OutlineThreeHeadingRuns10MiB"),
        "reference": None,
        "ref": None,
        "targets": [("ms", 500.0)],
    },
    {
        "operation": "分册生成 / `generate --parts` (outline, plan, every part written)",
        "input": "10 MiB novel, 3,000 chapters of real prose",
        "ours": ("PartsBench", "BM_GeneratePartsOfNovel"),
        "reference": "each part's text generated alone as one book, summed",
        "ref": ("PartsBench", "BM_GenerateEachPartAlone"),
        "targets": [("ratio", 1.2)],
    },
    {
        "operation": "整理文本 / clean, hard-wrapped book (junk, 目录, joins, indents)",
        "input": "10 MiB novel, 400 chapters, wrapped at 35 characters",
        "ours": ("CleanBench", "BM_CleanWrappedBook10MiB"),
        "reference": None,
        "ref": None,
        "targets": [("ms", 500.0)],
    },
    {
        "operation": "整理文本 / clean, a paragraph per line",
        "input": "the same novel unwrapped",
        "ours": ("CleanBench", "BM_CleanUnwrappedBook10MiB"),
        "reference": None,
        "ref": None,
        "targets": [("ms", 500.0)],
    },
    {
        "operation": "detect (true chapter count past 98)",
        "input": "10 MiB novel, 3,000 chapters of real prose",
        "ours": ("PartsBench", "BM_DetectNovel"),
        "reference": None,
        "ref": None,
        "targets": [("ms", 300.0)],
    },
    {
        "operation": "繁体转简体 (whole command)",
        "input": "10 MiB Traditional book",
        "ours": ("ConvertBench", "BM_ConvertToSimplifiedCommand"),
        "reference": "opencc command-line tool (t2s, UTF-8)",
        "ref": ("ConvertBench", "BM_OpenccCommandLine"),
        "targets": [("ms", 1000.0)],
    },
    {
        "operation": "window: 打开txt文件 to the first painted page",
        "input": "10 MiB book, 98 chapters (offscreen window)",
        "ours": ("WindowBench", "BM_OpenBookToFirstPaint"),
        "reference": None,
        "ref": None,
        "targets": [("ms", 500.0)],
    },
    {
        "operation": "window: 生成测试 filling the problem list",
        "input": "10 MiB book, over 100,000 findings (offscreen window)",
        "ours": ("WindowBench", "BM_TestCommandWith100kFindings"),
        "reference": None,
        "ref": None,
        "targets": [("ms", 2000.0)],
    },
    {
        "operation": "window: 生成测试 with the problem filter on 阻止生成",
        "input": "10 MiB book, over 100,000 findings (offscreen window)",
        "ours": ("WindowBench", "BM_TestCommandFilteredOnBlocking"),
        "reference": None,
        "ref": None,
        "targets": [("ms", 2000.0)],
    },
    {
        "operation": "window: 打开txt文件 of a one-line book to the first painted page",
        "input": "1 MB on one line, no break opportunity (offscreen window)",
        "ours": ("LongLineBench", "BM_OpenOneLineBookToFirstPaint/1000000"),
        "reference": None,
        "ref": None,
        "targets": [("ms", 2000.0)],
    },
    {
        "operation": "window: 打开txt文件 of a one-line book to the first painted page",
        "input": "4 MB on one line, no break opportunity (offscreen window)",
        "ours": ("LongLineBench", "BM_OpenOneLineBookToFirstPaint/4000000"),
        "reference": None,
        "ref": None,
        "targets": [("ms", 2000.0)],
    },
    {
        "operation": "window: one page down in a one-line book (slowest of 20)",
        "input": "4 MB on one line, no break opportunity (offscreen window)",
        "ours": ("LongLineBench", "BM_PageDownOneLineBook/4000000"),
        "reference": None,
        "ref": None,
        "targets": [("ms", 100.0)],
    },
    {
        "operation": "生成测试 with one suspicious word of nearly 1 MiB",
        "input": "4 MB book with a 3 MB run the word agrees with up to its end",
        "ours": ("LongWordSearchBench", "BM_TestCommandLongSuspiciousWord"),
        "reference": None,
        "ref": None,
        "targets": [("ms", 1000.0)],
    },
    {
        "operation": "text view find of a word of nearly 1 MiB",
        "input": "the same book and word",
        "ours": ("LongWordSearchBench", "BM_ViewFindLongWord"),
        "reference": None,
        "ref": None,
        "targets": [("ms", 1000.0)],
    },
    {
        "operation": "`brisnamake-cli generate --jobs 2` (batch)",
        "input": "200 books: sample chapters + real prose, about 170 KB each",
        "ours": ("BatchGenerateBench", "BM_BatchGenerate/jobs:2"),
        "reference": "the same batch with `--jobs 1`",
        "ref": ("BatchGenerateBench", "BM_BatchGenerate/jobs:1"),
        "targets": [("ratio", 0.6)],
    },
]


def load_results(folder):
    """{program: [benchmark entries]} for every JSON file in the folder."""
    results = {}
    for name in sorted(os.listdir(folder)):
        if not name.endswith(".json") or name == "memory.json":
            continue
        try:
            with open(os.path.join(folder, name), encoding="utf-8") as f:
                results[name[: -len(".json")]] = json.load(f).get("benchmarks", [])
        except (OSError, ValueError):
            continue
    return results


def median_ms(results, program, name):
    """Median real time in milliseconds of a benchmark, or None when it did not run."""
    entries = results.get(program)
    if not entries:
        return None

    def matches(entry):
        run = entry.get("run_name", entry.get("name", ""))
        return run == name or run.startswith(name + "/")

    runs = [e for e in entries if matches(e) and not e.get("error_occurred")]
    if not runs:
        return None
    medians = [e for e in runs if e.get("aggregate_name") == "median"]
    if medians:
        chosen = medians[0]["real_time"] * UNIT_MS[medians[0].get("time_unit", "ns")]
        return chosen
    # A run without repetitions: the median of the single runs.
    times = sorted(e["real_time"] * UNIT_MS[e.get("time_unit", "ns")]
                   for e in runs if e.get("run_type", "iteration") == "iteration")
    return times[len(times) // 2] if times else None


def fmt_ms(value):
    if value is None:
        return "not measured"
    if value >= 100:
        return f"{value:,.0f} ms"
    if value >= 1:
        return f"{value:.1f} ms"
    return f"{value:.3f} ms"


def judge(targets, ours, ratio):
    """'yes', 'NO (...)' or '-' for the row's targets."""
    if not targets:
        return "-", "-"
    words, met = [], True
    for kind, limit in targets:
        if kind == "ratio":
            words.append(f"ratio <= {limit:g}")
            met = met and ratio is not None and ratio <= limit
        else:
            words.append(f"< {limit / 1000:g} s")
            met = met and ours is not None and ours < limit
    if ours is None:
        return ", ".join(words), "not measured"
    return ", ".join(words), "yes" if met else "**NO**"


def memory_row(folder):
    path = os.path.join(folder, "memory.json")
    row = ["peak memory of `brisnamake-cli generate`", "largest valid book"]
    try:
        with open(path, encoding="utf-8") as f:
            memory = json.load(f)
    except (OSError, ValueError):
        return row + ["not measured", "4 x book + 64 MB", "-", "-", "peak < limit", "not measured"]
    book = memory["book_bytes"]
    peak = memory["peak_rss_kib"] * 1024
    limit = 4 * book + 64 * 1024 * 1024
    row[1] = f"largest valid book ({book:,} bytes)"
    ok = memory.get("exit_code") == 0
    verdict = ("yes" if peak < limit else "**NO**") if ok else "**NO** (command failed)"
    return row + [f"{peak / 2**20:.1f} MiB", "4 x book + 64 MB", f"{limit / 2**20:.1f} MiB",
                  f"{peak / limit:.2f}", "peak < limit", verdict]


def undo_memory_row(results):
    """What the window's undo history holds after 100 chapter-list steps on a 10 MiB book."""
    row = ["window: undo history, 100 steps (chapter-list states)", "10 MiB book, 98 chapters"]
    runs = [e for e in results.get("WindowBench", [])
            if e.get("run_name", e.get("name", "")).startswith("BM_UndoHistory100Steps")
            and "undo_bytes" in e]
    if not runs:
        return row + ["not measured", "-", "-", "-", "<= 64 MB", "-"]
    held = runs[0]["undo_bytes"]
    limit = 64 * 10**6
    return row + [f"{held / 2**20:.2f} MiB", "64 MB", f"{limit / 2**20:.1f} MiB",
                  f"{held / limit:.3f}", "<= 64 MB", "yes" if held <= limit else "**NO**"]


def check_rows(folder):
    """Rows for `brisnamake-cli check` on the books with the most findings (bench/run.sh)."""
    rows = []
    for kind, label in (("garbled-pairs", "10 MiB of garbled pairs"),
                        ("blank-lines", "10 MiB of blank lines")):
        row = ["`brisnamake-cli check`: time, peak memory", label]
        try:
            with open(os.path.join(folder, f"check-{kind}.json"), encoding="utf-8") as f:
                measured = json.load(f)
        except (OSError, ValueError):
            rows.append(row + ["not measured", "-", "-", "-", "< 1.5 s, 4 x book + 64 MB",
                               "not measured"])
            continue
        book = measured["book_bytes"]
        peak = measured["peak_rss_kib"] * 1024
        limit = 4 * book + 64 * 1024 * 1024
        seconds = measured["seconds"]
        # 1: problems were listed, which is the point of these books.
        ok = measured.get("exit_code") in (0, 1)
        met = ok and seconds < 1.5 and peak < limit
        rows.append(row + [f"{seconds:.2f} s, {peak / 2**20:.1f} MiB", "4 x book + 64 MB",
                           f"{limit / 2**20:.1f} MiB", f"{peak / limit:.2f}",
                           "< 1.5 s, peak < limit", "yes" if met else "**NO**"])
    return rows


def main():
    if len(sys.argv) != 2:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    folder = sys.argv[1]
    results = load_results(folder)
    header = ["operation", "input", "ours (median)", "reference", "reference (median)", "ratio",
              "target", "met"]
    lines = ["| " + " | ".join(header) + " |", "|" + "---|" * len(header)]
    for row in ROWS:
        ours = median_ms(results, *row["ours"])
        ref = median_ms(results, *row["ref"]) if row["ref"] else None
        ratio = ours / ref if ours is not None and ref else None
        target, met = judge(row["targets"], ours, ratio)
        cells = [row["operation"], row["input"], fmt_ms(ours), row["reference"] or "-",
                 fmt_ms(ref) if row["ref"] else "-",
                 f"{ratio:.2f}" if ratio is not None else "-", target, met]
        lines.append("| " + " | ".join(cells) + " |")
    lines.append("| " + " | ".join(memory_row(folder)) + " |")
    lines.append("| " + " | ".join(undo_memory_row(results)) + " |")
    for cells in check_rows(folder):
        lines.append("| " + " | ".join(cells) + " |")
    print("\n".join(lines))
    return 0


if __name__ == "__main__":
    sys.exit(main())
