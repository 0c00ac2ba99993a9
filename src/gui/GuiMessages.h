#pragma once
// What the window says to the operator: status-bar texts, message boxes, notices, progress
// labels (UTF-8, for QString::fromUtf8; %1, %2 ... are filled by QString::arg), and the captions
// of its titles, labels, buttons, columns and pages. The captions scripts name controls by are
// spelled once, in app/AppMessages.h, and only named here.

#include "app/AppMessages.h"

namespace brisna::gui::messages {

inline constexpr char kInternalError[] = "操作未能完成，程序内部出错。";
inline constexpr char kErrorTitle[] = "错误";
inline constexpr char kPromptTitle[] = "提示";
inline constexpr char kNoBookOpen[] = "未打开图书";
inline constexpr char kOpeningText[] = "正在打开txt文件…";
inline constexpr char kOpeningQbr2[] = "正在打开qbr2文件…";
inline constexpr char kOpeningQbr[] = "正在打开qbr…";
inline constexpr char kOpeningEpub[] = "正在打开EPUB…";
inline constexpr char kGeneratingQbr[] = "正在生成qbr…";
inline constexpr char kGeneratingEpub[] = "正在生成EPUB…";
inline constexpr char kGeneratingTest[] = "正在生成测试…";
inline constexpr char kCheckingMissing[] = "正在检查缺章…";
inline constexpr char kCleaningText[] = "正在整理文本…";
inline constexpr char kDetectingChapters[] = "正在识别章节…";
inline constexpr char kGeneratingParts[] = "正在分册生成…";
inline constexpr char kBusyUntilDone[] = "完成前不能执行其他命令";
inline constexpr char kManualMissing[] = "找不到使用说明（manual.zh_CN.html），请重新安装本程序";
inline constexpr char kOpenFolderFailed[] = "无法打开文件夹：";
inline constexpr char kPleaseWait[] = "请稍候";
inline constexpr char kRecentMissingMark[] = "（文件不存在）";
inline constexpr char kRecentInaccessibleMark[] = "（无法访问）";
inline constexpr char kRecentMissing[] = "文件已不存在：\n";
inline constexpr char kRecentInaccessible[] = "无法访问文件（没有权限或路径无效）：\n";
inline constexpr char kBytes[] = "%1 字节";
inline constexpr char kBookSummary[] = "%1（%2，%3）";
inline constexpr char kChapterCount[] = "章节 %1";
inline constexpr char kOverChapterLimit[] = "（全书 %1 章，超过98章）";
inline constexpr char kProblemCounts[] = "阻止生成 %1 · 可疑字 %2 · 乱码 %3 · 空行 %4";
inline constexpr char kOtherProblems[] = " · 其他 %1";
inline constexpr char kFilesWritten[] = "已写入 %1 个文件：%2";
inline constexpr char kListSeparator[] = "、";
inline constexpr char kSavedIn[] = "，保存在 ";
inline constexpr char kPartsWritten[] = "共%1册，%2个文件，保存在 %3";
inline constexpr char kCleanPassCount[] = "%1（%2 %3）";
inline constexpr char kUnitLines[] = "行";
inline constexpr char kUnitPlaces[] = "处";
inline constexpr char kUnitParagraphs[] = "段";
inline constexpr char kPartsPlanSummary[] = "全书共%1章，分为%2册：";
inline constexpr char kPatternMissing[] = "请输入章节规则，或选择作品集";
inline constexpr char kPatternNoMatch[] = "没有一行符合章节规则";
inline constexpr char kPatternFound[] = "找到%1章";
inline constexpr char kPatternOverLimit[] = "，超过98章：确定后可分册生成或生成EPUB";
inline constexpr char kVolumeMark[] = "【卷】";
inline constexpr char kMatchLine[] = "%1行：";
inline constexpr char kRenamePrompt[] = "章节名（最多%1个字节，正文不变）：";
inline constexpr char kCommandLineDescription[] = "BrisnaMake 电子书编辑工具";
inline constexpr char kFileArgument[] = "要打开的图书（.txt、.qbr2、.qbr 或 .epub）";

// Told when the book's file name is longer than generation allows; %3 is generation's refusal.
inline constexpr char kNameLimitNotice[] =
    "文件名长 %1 字节（最多 %2）：生成qbr时会提示“%3”，请先改短文件名";

// --help of the window program in a Chinese locale.
inline constexpr char kCommandLineHelp[] =
    "用法: BrisnaMake [选项] [文件]\n"
    "BrisnaMake 电子书编辑工具：打开中文文本书，标记章节，检查后生成 .qbr2 和 .qbr "
    "电子书或 EPUB。\n"
    "\n"
    "参数:\n"
    "  文件           要打开的图书（.txt、.qbr2、.qbr 或 .epub）\n"
    "\n"
    "选项:\n"
    "  -h, --help     显示此帮助并退出\n"
    "  -V, --version  打印版本并退出\n"
    "\n"
    "不用窗口的同一工具：brisnamake-cli --help。\n";

}  // namespace brisna::gui::messages

// Captions.
namespace brisna::gui::captions {

inline constexpr char kOpenFolder[] = "打开文件夹";
inline constexpr char kAboutTitle[] = "关于QuorviQbr制作工具";
inline constexpr char kAboutVersion[] = "Quorvi Ebook 编辑工具 Ver ";
inline constexpr char kAboutPublisher[] = "BrisnaMake 电子书制作组";
inline constexpr char kAboutCopyright[] = "Copyright © 2026 BrisnaMake developers（MIT 许可证）";
inline constexpr char kOk[] = "确定";
inline constexpr char kCancel[] = "取消";
inline constexpr const char* kMoveUp = app_messages::kMoveUpCaption.data();
inline constexpr const char* kMoveDown = app_messages::kMoveDownCaption.data();
inline constexpr const char* kDelete = app_messages::kDeleteCaption.data();
inline constexpr const char* kDeleteAll = app_messages::kDeleteAllCaption.data();
inline constexpr char kCleanTitle[] = "整理文本";
inline constexpr char kCleanJunk[] = "删除广告、章末标记、求票和分隔线";
inline constexpr char kCleanContents[] = "删除开头的目录";
inline constexpr char kCleanAuthorNotes[] = "删除作者的话（PS：…、作者有话说）";
inline constexpr char kCleanWrapped[] = "合并断行（仅当书是硬换行的）";
inline constexpr char kCleanIndent[] = "统一段首缩进";
inline constexpr char kCleanBlankLines[] = "连续空行缩为一行";
inline constexpr char kIndentTwoSpaces[] = "两个全角空格";
inline constexpr char kIndentNone[] = "不缩进";
inline constexpr char kCleanDefaultsLabel[] = "打开“整理文本”时默认勾选的项目：";
inline constexpr char kLineStartOnly[] = "仅匹配行首";
inline constexpr char kLineStartOnlyHint[] =
    "模糊添加章节和递增添加章节只认一行开头的章节名，正文里提到的章节名不算。";
inline constexpr char kDetectionPage[] = "识别章节";
inline constexpr char kEpubPage[] = "生成EPUB";
inline constexpr char kManualTitle[] = "使用说明";
inline constexpr char kClose[] = "关闭";
inline constexpr char kWindowTitle[] = "Quorvi EBook 编辑工具 V";
inline constexpr char kRenameTitle[] = "重命名章节";
inline constexpr char kPartsTitle[] = "分册生成";
inline constexpr char kPartColumn[] = "分册";
inline constexpr char kChaptersColumn[] = "章数";
inline constexpr char kFirstChapterColumn[] = "首章";
inline constexpr char kLastChapterColumn[] = "末章";
inline constexpr char kSizeColumn[] = "大小";
inline constexpr char kExampleChapterName[] = "第…章";
inline constexpr char kExampleChapterPattern[] = "第[0-9零〇一二两三四五六七八九十百千万]+章";
inline constexpr char kExampleBracketName[] = "【…】";
inline constexpr char kExampleBracketPattern[] = "【[^】]+】";
inline constexpr char kExampleNumberName[] = "单独一行的数字";
inline constexpr char kVolumePatternHint[] = "可选，例如 第[一二三四五六七八九十]+卷";
inline constexpr char kChapterPatternHint[] = "正则表达式，匹配行首";
inline constexpr char kPatternTitle[] = "按规则识别章节";
inline constexpr char kChapterPatternLabel[] = "章节规则：";
inline constexpr char kChooseExample[] = "选择示例…";
inline constexpr char kExamplesLabel[] = "示例：";
inline constexpr char kVolumePatternLabel[] = "卷规则：";
inline constexpr char kCollectionCheck[] = "作品集：空行之间不以句末标点结尾的短行是标题";
inline constexpr char kClearAll[] = "全部清除";
inline constexpr char kPatternHistoryHint[] =
    "“按规则识别章节”记住的规则，最近用过的在前。删除和清除在按“确定”后生效。";
inline constexpr char kPatternHistoryPage[] = "规则历史";
inline constexpr char kSettingsTitle[] = "设置";

inline constexpr char kEpubSettingsTitle[] = "EPUB设置";
inline constexpr char kCoverLabel[] = "封面图片：";
inline constexpr char kCoverFilter[] = "图片 (*.jpg *.jpeg *.png)";
inline constexpr char kCoverPlaceholder[] = "书旁边的 cover.jpg 等，否则自动生成";
inline constexpr char kNoCover[] = "不要封面";
inline constexpr char kIndentTwo[] = "2字";
inline constexpr char kIndentOther[] = "%1字";
inline constexpr char kIndentLabel[] = "段首缩进：";
inline constexpr char kSpacingNone[] = "无";
inline constexpr char kSpacingHalf[] = "半行";
inline constexpr char kSpacingOne[] = "一行";
inline constexpr char kSpacingOther[] = "%1行";
inline constexpr char kSpacingLabel[] = "段间距：";
inline constexpr char kLineHeightLabel[] = "行高：";
inline constexpr char kHeadingCentre[] = "居中";
inline constexpr char kHeadingLeft[] = "居左";
inline constexpr char kHeadingLabel[] = "标题对齐：";
inline constexpr char kFontReader[] = "阅读器默认";
inline constexpr char kFontSerif[] = "宋体";
inline constexpr char kFontSans[] = "黑体";
inline constexpr char kFontKai[] = "楷体";
inline constexpr char kFontLabel[] = "字体：";
inline constexpr char kEmbedFontLabel[] = "嵌入字体文件：";
inline constexpr char kFontFilter[] = "字体 (*.ttf *.otf *.woff *.woff2)";
inline constexpr char kStylesheetLabel[] = "附加样式表：";
inline constexpr char kStylesheetFilter[] = "样式表 (*.css)";
inline constexpr char kVertical[] = "竖排（从右到左）";
inline constexpr char kKeepBlankLines[] = "保留空行";
inline constexpr char kBrowse[] = "浏览...";
inline constexpr const char* kAddChapter = app_messages::kAddChapterCaption.data();
inline constexpr const char* kGenerate = app_messages::kGenerateCaption.data();
inline constexpr const char* kOpenText = app_messages::kOpenTextCaption.data();
inline constexpr const char* kOpenQbr2 = app_messages::kOpenQbr2Caption.data();
inline constexpr const char* kTest = app_messages::kTestCaption.data();
inline constexpr const char* kSearch = app_messages::kSearchCaption.data();
inline constexpr const char* kOpenQbr = app_messages::kOpenQbrCaption.data();
inline constexpr const char* kKeywordAdd = app_messages::kKeywordAddCaption.data();
inline constexpr const char* kIncrementalAdd = app_messages::kIncrementalAddCaption.data();
inline constexpr const char* kCloseProblemList = app_messages::kHideProblemList.data();
inline constexpr const char* kConvert = app_messages::kConvertCaption.data();
inline constexpr const char* kCheckMissing = app_messages::kCheckMissingCaption.data();
inline constexpr const char* kWideDisplay = app_messages::kWideDisplay.data();
inline constexpr char kChapterListFrame[] = "章节列表";
inline constexpr char kTextFrame[] = "图书文本";
inline constexpr char kProblemListFrame[] = "问题列表";
inline constexpr char kStartChapterLabel[] = "起始章节：";
inline constexpr char kAllProblems[] = "全部";
inline constexpr char kBlockingProblems[] = "阻止生成";
inline constexpr char kSuspiciousProblems[] = "可疑字";
inline constexpr char kGarbledProblems[] = "乱码";
inline constexpr char kBlankLineProblems[] = "空行";
inline constexpr char kProblemFilterTip[] = "只显示一类问题";

// The menus.
inline constexpr char kMenuOpenText[] = "打开txt文件(&O)...";
inline constexpr char kMenuOpenQbr2[] = "打开qbr2文件...";
inline constexpr char kMenuOpenQbr[] = "打开qbr...";
inline constexpr char kMenuOpenEpub[] = "打开EPUB...";
inline constexpr char kMenuReopen[] = "按编码重新打开(&E)";
inline constexpr char kMenuRecent[] = "最近打开的图书(&R)";
inline constexpr char kMenuSettings[] = "设置(&S)...";
inline constexpr char kMenuQuit[] = "退出(&X)";
inline constexpr char kMenuAddChapter[] = "添加章节(&A)";
inline constexpr char kMenuIncrementalAdd[] = "递增添加章节(&I)";
inline constexpr char kMenuKeywordAdd[] = "模糊添加章节(&K)";
inline constexpr char kMenuAutoDetect[] = "自动识别章节(&D)";
inline constexpr char kMenuRuleDetect[] = "按规则识别章节(&G)...";
inline constexpr char kMenuMoveUp[] = "上移(&U)";
inline constexpr char kMenuMoveDown[] = "下移(&N)";
inline constexpr char kMenuDelete[] = "删除\tDel";
inline constexpr char kMenuRename[] = "重命名(&M)";
inline constexpr char kMenuSort[] = "按位置排序(&S)";
inline constexpr char kMenuUndo[] = "撤销(&Z)";
inline constexpr char kMenuRedo[] = "重做(&Y)";
inline constexpr char kMenuTest[] = "生成测试(&T)";
inline constexpr char kMenuCheckMissing[] = "检查缺章(&M)";
inline constexpr char kMenuFind[] = "查找(&F)...";
inline constexpr char kMenuSearch[] = "搜索文本(&S)";
inline constexpr char kMenuConvert[] = "繁体转简体(&J)";
inline constexpr char kMenuCleanUp[] = "整理文本(&L)...";
inline constexpr char kMenuGenerate[] = "生成qbr(&Q)";
inline constexpr char kMenuGenerateParts[] = "分册生成(&P)";
inline constexpr char kMenuGenerateEpub[] = "生成EPUB(&E)";
inline constexpr char kMenuEpubSettings[] = "EPUB设置(&S)...";
inline constexpr char kMenuManual[] = "使用说明(&H)";
inline constexpr char kMenuAbout[] = "关于 BrisnaMake(&A)...";
inline constexpr char kMenuFile[] = "文件(&F)";
inline constexpr char kMenuChapters[] = "章节(&C)";
inline constexpr char kMenuCheck[] = "检查(&K)";
inline constexpr char kMenuGenerateTitle[] = "生成(&G)";
inline constexpr char kMenuHelp[] = "帮助(&H)";
inline constexpr char kEncodingAuto[] = "自动检测";
inline constexpr char kEncodingGbk[] = "GBK（简体中文）";
inline constexpr char kEncodingBig5[] = "Big5（繁体中文）";

}  // namespace brisna::gui::captions
