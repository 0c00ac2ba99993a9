#include "gui/DialogControls.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <utility>

#include "app/ControlIds.h"
#include "gui/CMyListBox.h"
#include "gui/QtListBox.h"
#include "gui/QtRichEdit.h"

namespace brisna {
namespace {

struct ButtonSpec {
    int id;
    const char* caption;
};

// Every button of the dialog with its caption.
constexpr ButtonSpec kButtons[] = {
    {kMoveUpButton, "上移"},
    {kMoveDownButton, "下移"},
    {kDeleteButton, "删除"},
    {kAddChapterButton, "添加章节"},
    {kGenerateButton, "生成qbr"},
    {kOpenTextButton, "打开txt文件"},
    {kOpenQbr2Button, "打开qbr2文件"},
    {kTestButton, "生成测试"},
    {kSearchButton, "搜索文本"},
    {kOpenQbrButton, "打开qbr"},
    {kKeywordAddButton, "模糊添加章节"},
    {kDeleteAllButton, "全部删除"},
    {kIncrementalAddButton, "递增添加章节"},
    {kProblemListToggle, "关闭问题列表"},
    {kConvertButton, "繁体转简体"},
    {kCheckMissingButton, "检查缺章"},
    {kWideDisplayToggle, "宽幅显示"},
};

}  // namespace

DialogControls CreateDialogControls(QWidget* parent) {
    DialogControls controls;
    auto& byId = controls.byId;
    // Frames first, so everything they surround is drawn over them.
    for (auto [id, caption] :
         {std::pair{kChapterListFrame, "章节列表"}, std::pair{kTextFrame, "图书文本"},
          std::pair{kProblemListFrame, "问题列表"}}) {
        byId[id] = new QGroupBox(QString::fromUtf8(caption), parent);
    }

    controls.chapters = new CMyListBox(parent);
    controls.chapters->SetHorizontalExtent(300);
    byId[kChapterList] = controls.chapters;

    controls.text = new QtRichEdit(parent);
    byId[kBookText] = controls.text;

    controls.problems = new QtListBox(parent);
    controls.problems->SetHorizontalExtent(500);
    byId[kProblemList] = controls.problems;

    for (const ButtonSpec& spec : kButtons) {
        auto* button = new QPushButton(QString::fromUtf8(spec.caption), parent);
        // Enter must never press a button of this window.
        button->setAutoDefault(false);
        button->setDefault(false);
        byId[spec.id] = button;
    }

    byId[kSearchEdit] = new QLineEdit(parent);
    byId[kStartChapterEdit] = new QLineEdit(parent);
    byId[kStartChapterLabel] = new QLabel(QStringLiteral("起始章节："), parent);

    controls.problemFilter = new QComboBox(parent);
    controls.problemFilter->setObjectName(QStringLiteral("problemFilter"));
    controls.problemFilter->addItems({QStringLiteral("全部"), QStringLiteral("阻止生成"),
                                      QStringLiteral("可疑字"), QStringLiteral("乱码"),
                                      QStringLiteral("空行")});
    controls.problemFilter->setToolTip(QStringLiteral("只显示一类问题"));

    for (auto& [id, widget] : byId) widget->setObjectName(QStringLiteral("control%1").arg(id));
    return controls;
}

void SetDialogTabOrder(const DialogControls& controls) {
    // Reading order, column by column: the open buttons on top, then the chapter list with its
    // buttons, the text with the rows under it, and the problem list.
    constexpr int kOrder[] = {
        kOpenTextButton, kOpenQbr2Button,     kOpenQbrButton,     kProblemListToggle,
        kChapterList,    kCheckMissingButton, kWideDisplayToggle, kMoveUpButton,
        kMoveDownButton, kDeleteButton,       kDeleteAllButton,   kBookText,
        kSearchEdit,     kSearchButton,       kAddChapterButton,  kConvertButton,
        kTestButton,     kStartChapterEdit,   kKeywordAddButton,  kIncrementalAddButton,
        kGenerateButton, kProblemList,
    };
    QWidget* previous = nullptr;
    for (int id : kOrder) {
        QWidget* widget = controls.byId.at(id);
        widget->setFocusPolicy(Qt::StrongFocus);
        if (previous != nullptr) QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
}

}  // namespace brisna
