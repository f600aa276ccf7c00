#pragma once

// Control numbers of the directory page's template, as the language
// libraries' layouts give them; the page and the test build's script both
// find its controls by them.
constexpr int IDC_FOLDER_LIST = 1002;
constexpr int IDC_PC_FILES = 1005;
constexpr int IDC_SEND = 1008;
constexpr int IDC_RECEIVE = 1009;
constexpr int IDC_VAR_LIST = 1010;
constexpr int IDC_PC_FOLDERS = 1012;
constexpr int IDC_PC_PATH = 1013;
constexpr int IDC_DIRECTORY = 1014;
constexpr int IDC_BACKUP = 1015;
constexpr int IDC_RESTORE = 1016;
constexpr int IDC_LISTEN = 1017;
