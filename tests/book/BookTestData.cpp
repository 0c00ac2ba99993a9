#include "book/BookTestData.h"

#include <algorithm>
#include <random>

#include "support/TestSupport.h"
#include "text/CodePage936.h"

namespace brisna::test {

namespace {

// A few hundred common characters, so that pairs and words repeat as in real prose.
const char* const kVocabulary[] = {
    "的", "一", "是", "在", "不", "了", "有", "和", "人", "这", "中", "大", "为", "上", "个", "国",
    "我", "以", "要", "他", "时", "来", "用", "们", "生", "到", "作", "地", "于", "出", "就", "分",
    "对", "成", "会", "可", "主", "发", "年", "动", "同", "工", "也", "能", "下", "过", "子", "说",
    "产", "种", "面", "而", "方", "后", "多", "定", "行", "学", "法", "所", "民", "得", "经", "十",
    "三", "之", "进", "着", "等", "部", "度", "家", "电", "力", "里", "如", "水", "化", "高", "自",
    "二", "理", "起", "小", "物", "现", "实", "加", "量", "都", "两", "体", "制", "机", "当", "使",
    "点", "从", "业", "本", "去", "把", "性", "好", "应", "开", "它", "合", "还", "因", "由", "其",
    "些", "然", "前", "外", "天", "政", "四", "日", "那", "社", "义", "事", "平", "形", "相", "全",
    "表", "间", "样", "与", "关", "各", "重", "新", "线", "内", "数", "正", "心", "反", "你", "明",
    "看", "原", "又", "么", "利", "比", "或", "但", "质", "气", "第", "向", "道", "命", "此", "变",
    "条", "只", "没", "结", "解", "问", "意", "建", "月", "公", "无", "系", "军", "很", "情", "者",
    "最", "立", "代", "想", "已", "通", "并", "提", "直", "题", "党", "程", "展", "五", "果", "料",
    "象", "员", "革", "位", "入", "常", "文", "总", "次", "品", "式", "活", "设", "及", "管", "特",
    "件", "长", "求", "老", "头", "基", "资", "边", "流", "路", "级", "少", "图", "山", "统", "接",
    "知", "，", "。", "、", "“",  "”",  "！", "？", "：", "；", "章"};

}  // namespace

std::string SampleChineseGbk(size_t bytes, uint32_t seed) {
    std::mt19937 random(seed);
    const size_t words = sizeof kVocabulary / sizeof kVocabulary[0];
    // Skewed choice: low indexes (the commonest characters) come up far more often.
    std::geometric_distribution<size_t> pick(0.03);
    std::string utf8;
    std::string text;
    while (text.size() < bytes) {
        utf8.clear();
        const size_t length = 40 + random() % 200;
        for (size_t k = 0; k < length; ++k) utf8 += kVocabulary[pick(random) % words];
        text += G(utf8);
        text += "\r\n";
    }
    text.resize(bytes);
    // Never end on half a character.
    size_t at = 0;
    while (at < text.size()) at += IsGbkLeadByte(static_cast<unsigned char>(text[at])) ? 2 : 1;
    if (at > text.size()) text.back() = '.';
    return text;
}

std::vector<uint8_t> SampleChineseUtf16(size_t bytes, uint32_t seed) {
    std::string le = Utf16ToLeBytes(GbkToUtf16(SampleChineseGbk(bytes / 2 + 64, seed)));
    le.resize(std::min(le.size(), bytes));
    return std::vector<uint8_t>(le.begin(), le.end());
}

std::vector<uint8_t> RandomBytes(size_t count, uint32_t seed, unsigned alphabet) {
    std::mt19937 random(seed);
    std::vector<uint8_t> bytes(count);
    for (auto& byte : bytes) byte = static_cast<uint8_t>('a' + random() % alphabet);
    return bytes;
}

std::string BitString(const std::vector<uint8_t>& stream, size_t fromBit, size_t count) {
    std::string bits;
    for (size_t k = fromBit; k < fromBit + count; ++k) {
        bits += (stream.at(k / 8) >> (7 - k % 8)) & 1 ? '1' : '0';
    }
    return bits;
}

void BitBuilder::Put(uint64_t value, unsigned count) {
    for (unsigned k = count; k-- > 0;) {
        if (bits_ % 8 == 0) bytes_.push_back(0);
        if ((value >> k) & 1) bytes_.back() |= static_cast<uint8_t>(0x80 >> (bits_ % 8));
        ++bits_;
    }
}

void BitBuilder::Match(uint32_t length, uint32_t offset, unsigned width) {
    Put(1, 1);
    const uint32_t d = length - 1;
    unsigned n = 0;
    while ((d >> (n + 1)) != 0) ++n;
    for (unsigned k = 0; k < n; ++k) Put(1, 1);
    Put(0, 1);
    Put(d - (1u << n), n);
    Put(offset, width);
}

}  // namespace brisna::test
