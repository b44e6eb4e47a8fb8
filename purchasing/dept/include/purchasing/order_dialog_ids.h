// Control ids of Purchasing's Order dialog. Tutorial command files name these
// controls, so the build reads this table too (one line per id, NAME = value)
// and fills the files' @NAME@ fields from it: keep the format.
#pragma once

inline constexpr int IDD_PRC_ORDER = 129;
inline constexpr int IDC_ORDER_MATERIAL = 1301;
inline constexpr int IDC_ORDER_QTY = 1302;
inline constexpr int IDC_ORDER_SUPPLIER = 1303;
inline constexpr int IDC_ORDER_BUTTON = 1304;
inline constexpr int IDC_ORDER_SILENT = 1305;
