// The web pages the tool opens through the shell, in one place.
#pragma once

// The Mycroft project's page of search plugins to download ("Add Plugin...").
constexpr char PluginDownloadPage[] = "https://mycroftproject.com/";
// The browser's product page (the logo in the main window).
constexpr char BrowserProductPage[] = "https://www.mozilla.org/firefox/";
// The tool maker's home page (the credit line, and the About window's button).
constexpr char MakerHomePage[] = "https://quillsort.example.org/";
// The maker's contact address, shown in the About window.
constexpr char MakerMailAddress[] = "quillsort@example.org";
// The one-line credit of the main window and the About window; short enough
// to fit the main window right of the help button.
constexpr char CreditLine[] = "(c) 2026 Quillsort authors";
