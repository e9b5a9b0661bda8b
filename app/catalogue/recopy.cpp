#include "app/catalogue/recopy.h"

#include "app/catalogue/catalogue_state.h"
#include "runtime/core/strings.h"

StringValue SubFolderRefusal(const std::vector<StringValue> &folders) {
    StringValue names;
    for (const StringValue &folder : folders) {
        StringValue quoted = StrConcat(StrConcat("''", folder), "''");
        names = StrLength(names) == 0 ? quoted : StrConcat(StrConcat(names, ", "), quoted);
    }
    bool one = folders.size() == 1;
    StringValue text = StrConcat(
        one ? "The plugin folder holds the folder " : "The plugin folder holds the folders ", names);
    text = StrConcat(text, ". A re-sort on this drive makes the plugin folder anew, and it does not move "
                           "folders.\r\r");
    text =
        StrConcat(text, one ? "Move that folder out of the plugin folder (the browser also reads plugins "
                              "inside it), then sort again."
                            : "Move those folders out of the plugin folder (the browser also reads plugins "
                              "inside them), then sort again.");
    return StrConcat(text, " Nothing was changed.");
}

StringValue StagingInUseRefusal() {
    StringValue text =
        StrConcat(StrConcat("The folder ''", StagingName), "'' beside the plugin folder is not ");
    return StrConcat(text, "empty: it holds files that an earlier re-sort left there, or files of yours.\r\r"
                           "Press Refresh List to move the re-sort's files back, move any other files away, "
                           "then sort again. Nothing was changed.");
}

StringValue CloseBrowserAdvice() {
    return "Close the browser and any window that shows the plugin folder, then sort again.";
}

StringValue StuckReport(const Failures &stuck) {
    StringValue text = StrConcat(FailureText(stuck), "\r\r");
    text = StrConcat(text, stuck.count == 1 ? "It stayed in the plugin folder, "
                                            : "They stayed in the plugin folder, ");
    text = StrConcat(text, "which therefore could not be made anew: the order of the plugins may not hold. ");
    return StrConcat(text, CloseBrowserAdvice());
}

StringValue FolderKeptReport(const StringValue &why) {
    StringValue text = StrConcat(StrConcat("The plugin folder could not be made anew:\r", why), "\r\r");
    text = StrConcat(text, "Every file went back into it, but the order of the plugins may not hold. ");
    return StrConcat(text, CloseBrowserAdvice());
}

StringValue LeftAwayReport(const Failures &left) {
    StringValue text = StrConcat(FailureText(left), "\r\r");
    text = StrConcat(text, left.count == 1 ? "The browser cannot see it there. "
                                           : "The browser cannot see them there. ");
    return StrConcat(text, "Quillsort offers to move what waits there back when it starts again or when you "
                           "press Refresh List.");
}
