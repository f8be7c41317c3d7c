#include "HostObjects.h"

namespace refhost {

namespace {

using hostapi::scAlt;
using hostapi::scCtrl;
using hostapi::scShift;
using hostapi::TShortCut;

constexpr TShortCut VkF(int n) { return static_cast<TShortCut>(0x6F + n); }
constexpr TShortCut Key(char c) { return static_cast<TShortCut>(c); }

struct ItemSpec {
    const char* Name;
    const char* Caption;
    TShortCut ShortCut;
};

struct MenuSpec {
    const char* Name;
    const char* Caption;
    std::vector<ItemSpec> Items;
};

std::shared_ptr<MenuNode> MakeNode(MenuNode* parent, const char* name, const char* caption,
                                   TShortCut shortCut)
{
    auto node = std::make_shared<MenuNode>();
    node->Name = name;
    node->Caption = caption;
    node->ShortCut = shortCut;
    node->Flags = hostapi::mfEnabled | hostapi::mfVisible;
    node->Parent = parent;
    return node;
}

}  // namespace

std::shared_ptr<MenuNode> BuildMainMenu()
{
    const std::vector<MenuSpec> menus = {
        {"FileMenu", "&File",
         {{"FileOpenItem", "&Open...", 0},
          {"FileOpenProjectItem", "Open &Project...", 0},
          {"FileSaveItem", "&Save", TShortCut(scCtrl | Key('S'))},
          {"FileSaveAllItem", "Sav&e All", 0},
          {"FileCloseItem", "&Close", 0},
          {"FileCloseProjectItem", "Close Pro&ject", 0},
          {"FileExitItem", "E&xit", 0}}},
        {"EditMenu", "&Edit",
         {{"EditUndoItem", "&Undo", TShortCut(scCtrl | Key('Z'))},
          {"EditCutItem", "Cu&t", TShortCut(scCtrl | Key('X'))},
          {"EditCopyItem", "&Copy", TShortCut(scCtrl | Key('C'))},
          {"EditPasteItem", "&Paste", TShortCut(scCtrl | Key('V'))},
          {"EditSelectAllItem", "Select &All", TShortCut(scCtrl | Key('A'))}}},
        {"SearchMenu", "&Search",
         {{"SearchFindItem", "&Find...", TShortCut(scCtrl | Key('F'))},
          {"SearchReplaceItem", "&Replace...", TShortCut(scCtrl | Key('R'))},
          {"SearchGotoItem", "&Go to Line Number...", TShortCut(scAlt | Key('G'))}}},
        {"ViewMenu", "&View",
         {{"ViewProjectManagerItem", "&Project Manager", 0},
          {"ViewUnitsItem", "&Units...", TShortCut(scCtrl | VkF(12))},
          {"ViewFormsItem", "&Forms...", TShortCut(scShift | VkF(12))}}},
        {"ProjectMenu", "&Project",
         {{"ProjectAddItem", "&Add to Project...", TShortCut(scShift | VkF(11))},
          {"ProjectCompileItem", "&Compile", TShortCut(scCtrl | VkF(9))},
          {"ProjectOptionsItem", "&Options...", 0}}},
        {"RunMenu", "&Run",
         {{"RunRunItem", "&Run", VkF(9)},
          {"RunStepOverItem", "&Step Over", VkF(8)},
          {"RunTraceIntoItem", "&Trace Into", VkF(7)}}},
        {"ComponentMenu", "&Component",
         {{"ComponentInstallItem", "&Install Component...", 0},
          {"ComponentInstallPackagesItem", "Install &Packages...", 0}}},
        {"ToolsMenu", "&Tools", {{"ToolsOptionsItem", "&Environment Options...", 0}}},
        {"HelpMenu", "&Help",
         {{"HelpContentsItem", "&Contents", VkF(1)}, {"HelpAboutItem", "&About...", 0}}},
    };

    auto root = std::make_shared<MenuNode>();
    root->Flags = hostapi::mfEnabled | hostapi::mfVisible;
    for (const MenuSpec& menu : menus) {
        auto top = MakeNode(root.get(), menu.Name, menu.Caption, 0);
        for (const ItemSpec& item : menu.Items)
            top->Children.push_back(MakeNode(top.get(), item.Name, item.Caption, item.ShortCut));
        root->Children.push_back(top);
    }
    return root;
}

}  // namespace refhost
