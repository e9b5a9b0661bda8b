// The information text of the About window.
#include "app/windows/about_window_rules.h"

namespace {

// 44 underscores, and 44 macrons (0xAF in code page 1252).
constexpr char Underscores[] = "____________________________________________";
constexpr char Macrons[] =
    "\xAF\xAF\xAF\xAF\xAF\xAF\xAF\xAF\xAF\xAF\xAF\xAF\xAF\xAF\xAF\xAF\xAF\xAF\xAF\xAF\xAF\xAF"
    "\xAF\xAF\xAF\xAF\xAF\xAF\xAF\xAF\xAF\xAF\xAF\xAF\xAF\xAF\xAF\xAF\xAF\xAF\xAF\xAF\xAF\xAF";

const char *const Rows[] = {
    Underscores,
    " :: Information",
    Macrons,
    "E-Mail: quillsort@example.org",
    "Web: https://quillsort.example.org/",
    Underscores,
    " :: Short description",
    Macrons,
    "''Quillsort'' is a tiny tool, which is able to ",
    "sort the search plugins list of ''Mozilla Firefox''. It was",
    "successfully tested with Firefox 0.9.3, 1.0PR and 0.9.3",
    "ZIP version using Windows 98 and Windows XP.",
    Underscores,
    " :: Technical Background",
    Macrons,
    "Firefox doesn't save a defined plugin order. The order",
    "is given by the unsorted order of the files on the disk.",
    "With a FAT32 filesystem it is the order (not the date or",
    "time) the files were copied in the folder. You will not",
    "see any changes in your searchplugins folder, because",
    "a re-copy method is enough to bring the plugins in the",
    "right order.",
    "With NTFS filesystems a rename method is necessary to",
    "sort the plugins. You can restore the original filenames",
    "with the ''Orig. Filenames'' button.",
    Underscores,
    " :: Functions",
    Macrons,
    "-Move Up / Move Down:",
    "Changes the position of the selected search plugin.",
    "",
    "-Sort Search Plugins:",
    "Saves all the changes you have done on the plugin",
    "order.",
    "",
    "-Refresh List:",
    "You will need this, when you made changes outside of",
    "this software.",
    "",
    "-Show Hidden:",
    "Shows you a list of plugins you hide before. You",
    "can restore the plugins by pushing the button.",
    "",
    "-Add Plugin:",
    "Opens you browser with the Mozilla Mycroft page,",
    "where you can install new search plugins.",
    "",
    "-Open Folder:",
    "Opens the folder with your search plugins.",
    "",
    "==> RIGHT CLICK MENU",
    "",
    "-Edit:",
    "Opens the plugin source file with Notepad.",
    "",
    "-Rename:",
    "Lets you rename the shown name of the plugin, not",
    "the filename.",
    "",
    "-Convert: Unix -> DOS:",
    "This function converts Unix word-wraps into DOS",
    "word-wraps to display the plugin's source correctly",
    "with Windows.",
    "",
    "-Move Up / Move Down:",
    "Changes the position of the selected search plugin.",
    "",
    "-Hide:",
    "A compromise between keeping or deleting a search",
    "plugin. Hide it and restore it to a later time.",
    "",
    "-Delete:",
    "Deletes the selected plugin with your confirmation.",
    Underscores,
    " :: Trademarks",
    Macrons,
    "- Windows and DOS are registered trademarks of",
    "  the Microsoft Corp.",
    "- Mozilla, Firefox and the Firefox Logo are registered",
    "  trademarks of Mozilla Foundation",
    "- Unix is a registered trademark of The Open Group",
    Underscores,
    " :: Disclaimer",
    Macrons,
    "I assume no liability for any loss or damage caused by",
    "any errors in the software.",
};

} // namespace

int InfoTextRowCount() {
    return static_cast<int>(sizeof Rows / sizeof Rows[0]);
}

const char *InfoTextRow(int index) {
    return index >= 0 && index < InfoTextRowCount() ? Rows[index] : "";
}
