// The chart library's whole interface: 169 plain functions over graph handles.
#pragma once
#include "plat/types.h"
#include <cstddef>
#include <cstdint>

extern "C" {

// A graph handle: nonzero while the graph lives; a destroyed or unknown
// handle is refused by every function with QXERR_INVALID_GRAPH.
typedef uint32_t QXGRAPH;

// An ErrorCode is (index << 16) | module; the library's module is 1, and a
// success of a loader, connectivity, reference or label call is the plain 1.
enum {
    QXERR_SUCCESS = 0,
    QXERR_GENERAL_FAILURE = 1,
    QXERR_USER_CANCEL = 2,
    QXERR_NO_CONNECT = 3,
    QXERR_RETRIEVE_DATA = 4,
    QXERR_SET_ID_UNDEFINED = 5,
    QXERR_CONNECTION_FAILED = 6,
    QXERR_NO_ADMIN_DLL = 7,
    QXERR_INVALID_GRAPH = 8,
    QXERR_OPEN_FILE = 9,
    QXERR_FILE_FORMAT = 10,
    QXERR_READ_FILE = 11,
    QXERR_WRITE_FILE = 12,
    QXERR_NO_MEMORY = 13,
    QXERR_X_TYPE_MISMATCH = 14,
    QXERR_Y_TYPE_MISMATCH = 15,
    QXERR_INVALID_PARAMETER = 16,
    QXERR_LOAD_CONNECTIVITY = 17,
    QXERR_FIND_FUNCTION = 18,
    QXERR_REF_EXISTS = 19,
    QXERR_REF_MISSING = 20,
    QXERR_LABEL_EXISTS = 21,
    QXERR_LABEL_MISSING = 22
};
#define QXERRORCODE(index) ((((int32_t)(index)) << 16) | 1)

// Window messages of the library.
enum {
    // to the graph window; lParam points into a locked global block holding
    // int32 connection handle, X DataVector handle or 0, Y DataVector handle
    // (double); the library frees the block and both vectors.
    MSG_ADD_POINTS = 1405,
    // from the library to the graph window (so it reaches the caller's own
    // procedure): wParam 1, lParam points to two doubles: the bookmark's id
    // and the whole part of the X the caller gave when adding it.
    MSG_BOOKMARK_DBLCLK = 1496,
    // wParam: client X (or Y) in pixels; lParam: a char buffer of
    // QX_VALUE_TEXT_SIZE bytes that receives the value text.
    MSG_GET_X_TEXT = 1545,
    MSG_GET_Y_TEXT = 1546
};
enum { QX_VALUE_TEXT_SIZE = 52 };
// Size of the buffer QXIGetLastErrorMsg fills (200 characters and a NUL).
enum { QX_ERROR_TEXT_SIZE = 201 };
// Size of the buffer QXIGetBookmark fills (103 characters and a NUL).
enum { QX_BOOKMARK_TEXT_SIZE = 104 };

#pragma pack(push, 1)
typedef struct GraphSetInfo {
    int32_t id;
    char name[13];
    char text[41];
    char connection_text[201];
    char source_text[201];
    int32_t point_count;
    int32_t colour;
    int32_t point_style;
    int32_t point_size;
    int32_t line_style;
    int32_t line_width;
} GraphSetInfo;
#pragma pack(pop)
static_assert(sizeof(GraphSetInfo) == 484, "GraphSetInfo is the 484-byte record");
static_assert(offsetof(GraphSetInfo, name) == 4);
static_assert(offsetof(GraphSetInfo, text) == 17);
static_assert(offsetof(GraphSetInfo, connection_text) == 58);
static_assert(offsetof(GraphSetInfo, source_text) == 259);
static_assert(offsetof(GraphSetInfo, point_count) == 460);
static_assert(offsetof(GraphSetInfo, line_width) == 480);

#define QXI_API __attribute__((visibility("default")))

// Life cycle and window procedures
QXI_API plat::LRESULT QXIDefWndProc(plat::HWND, plat::UINT, plat::WPARAM, plat::LPARAM);
QXI_API plat::LRESULT TestWndProc(plat::HWND, plat::UINT, plat::WPARAM, plat::LPARAM);
QXI_API QXGRAPH QXICreateGraph(plat::HINSTANCE instance, plat::HWND window);
QXI_API int QXIDestroyGraph(QXGRAPH graph);
QXI_API int QXISetSampleGraph(QXGRAPH graph, int set_id, int wave, int redraw);

// Graph sets and points
QXI_API int QXIAddGraphSet(QXGRAPH graph, int set_id, plat::HGLOBAL x_vector, plat::HGLOBAL y_vector, int redraw);
QXI_API int QXISetGraphSet(QXGRAPH graph, int set_id, plat::HGLOBAL x_vector, plat::HGLOBAL y_vector, int redraw);
QXI_API int QXIDeleteGraphSet(QXGRAPH graph, int set_id, int redraw);
QXI_API int QXIClearGraphSet(QXGRAPH graph, int set_id, int redraw);
QXI_API int QXIAddEmptyGraphSet(QXGRAPH graph, int set_id);
QXI_API int QXISetPoint(QXGRAPH graph, int set_id, int index, const double* x, const double* y);
QXI_API int QXIAddPoint(QXGRAPH graph, int set_id, const double* x, const double* y);
QXI_API int QXISetDefaultX(QXGRAPH graph, int on);
QXI_API int QXISetAssumeX(QXGRAPH graph, int mode);

// Colours, borders and graph location
QXI_API int QXISetItemColor(QXGRAPH graph, int item, plat::COLORREF colour, int redraw);
QXI_API int QXISetFrameBorderStyle(QXGRAPH graph, int style, int redraw);
QXI_API int QXISetFrameBorderWidth(QXGRAPH graph, int width, int redraw);
QXI_API int QXISetGraphBorderStyle(QXGRAPH graph, int style, int redraw);
QXI_API int QXISetGraphBorderWidth(QXGRAPH graph, int width, int redraw);
QXI_API int QXISetGraphDisplaySpace(QXGRAPH graph, int left, int top, int right, int bottom, int redraw);
QXI_API int QXISetAutoGraphLocation(QXGRAPH graph, int on, int redraw);
QXI_API int QXISetAlignGraphToGrid(QXGRAPH graph, int on, int redraw);

// Redraw
QXI_API int QXIRedrawGraph(QXGRAPH graph, int mode, int set_id);

// Slots
QXI_API int QXISetGraphSlots(QXGRAPH graph, int count, int redraw);
QXI_API int QXISetGraphSlotSpace(QXGRAPH graph, int gap, int redraw);
QXI_API int QXISetSlotViewYMin(QXGRAPH graph, int slot, double y_min, int redraw);
QXI_API int QXISetSlotViewYMax(QXGRAPH graph, int slot, double y_max, int redraw);
QXI_API int QXISetSlotYTickEach(QXGRAPH graph, int slot, double each, int redraw);
QXI_API int QXIGetSlotRect(QXGRAPH graph, int slot, plat::RECT* out);

// Graph-set style
QXI_API int QXISetGraphSetColor(QXGRAPH graph, int set_id, plat::COLORREF colour, int redraw);
QXI_API int QXISetGraphSetName(QXGRAPH graph, int set_id, const char* name, int redraw);
QXI_API int QXISetGraphSetOrder(QXGRAPH graph, int set_id, int position, int redraw);
QXI_API int QXISetGraphSetSlot(QXGRAPH graph, int set_id, int slot, int redraw);
QXI_API int QXISetGraphSetVisible(QXGRAPH graph, int set_id, int visible, int redraw);
QXI_API int QXISetGraphSetPointStyle(QXGRAPH graph, int set_id, int style, int redraw);
QXI_API int QXISetGraphSetPointSize(QXGRAPH graph, int set_id, int size, int redraw);
QXI_API int QXISetGraphSetLineStyle(QXGRAPH graph, int set_id, int style, int redraw);
QXI_API int QXISetGraphSetLineWidth(QXGRAPH graph, int set_id, int width, int redraw);

// Coordinate system and data types
QXI_API int QXISetCoordinatesSystem(QXGRAPH graph, int system, int redraw);
QXI_API int QXISetXType(QXGRAPH graph, int type, int redraw);
QXI_API int QXISetYType(QXGRAPH graph, int type, int redraw);

// View
QXI_API int QXISetViewXMin(QXGRAPH graph, double value, int redraw);
QXI_API int QXISetViewXMax(QXGRAPH graph, double value, int redraw);
QXI_API int QXISetViewYMin(QXGRAPH graph, double value, int redraw);
QXI_API int QXISetViewYMax(QXGRAPH graph, double value, int redraw);

// Axes
QXI_API int QXISetXAxisVisible(QXGRAPH graph, int visible, int redraw);
QXI_API int QXISetYAxisVisible(QXGRAPH graph, int visible, int redraw);
QXI_API int QXISetXAxisPos(QXGRAPH graph, int position, int redraw);
QXI_API int QXISetYAxisPos(QXGRAPH graph, int position, int redraw);
QXI_API int QXISetXAxisStyle(QXGRAPH graph, int style, int redraw);
QXI_API int QXISetYAxisStyle(QXGRAPH graph, int style, int redraw);
QXI_API int QXISetXAxisWidth(QXGRAPH graph, int width, int redraw);
QXI_API int QXISetYAxisWidth(QXGRAPH graph, int width, int redraw);

// Axis values and their formats
QXI_API int QXISetXValScale(QXGRAPH graph, int mode, int redraw);
QXI_API int QXISetXValType(QXGRAPH graph, int type, int redraw);
QXI_API int QXISetXValFirstMonth(QXGRAPH graph, int month, int redraw);
QXI_API int QXISetXValMonths(QXGRAPH graph, const int* month_starts, int count, int redraw);
QXI_API int QXISetYValScale(QXGRAPH graph, int mode, int redraw);
QXI_API int QXISetXTickPos(QXGRAPH graph, int position, int redraw);
QXI_API int QXISetYTickPos(QXGRAPH graph, int position, int redraw);
QXI_API int QXISetXValPos(QXGRAPH graph, int position, int redraw);
QXI_API int QXISetYValPos(QXGRAPH graph, int position, int redraw);
QXI_API int QXISetXValAutoFormatting(QXGRAPH graph, int on, int redraw);
QXI_API int QXISetYValAutoFormatting(QXGRAPH graph, int on, int redraw);
QXI_API int QXISetXValFormat(QXGRAPH graph, const char* format, int redraw);
QXI_API int QXISetYValFormat(QXGRAPH graph, const char* format, int redraw);

// Ticks
QXI_API int QXISetXTickVisible(QXGRAPH graph, int visible, int redraw);
QXI_API int QXISetYTickVisible(QXGRAPH graph, int visible, int redraw);
QXI_API int QXISetXTickScale(QXGRAPH graph, int mode, int redraw);
QXI_API int QXISetYTickScale(QXGRAPH graph, int mode, int redraw);
QXI_API int QXISetXTickType(QXGRAPH graph, int type, int redraw);
QXI_API int QXISetYTickType(QXGRAPH graph, int type, int redraw);
QXI_API int QXISetXTickEach(QXGRAPH graph, double each, int redraw);
QXI_API int QXISetYTickEach(QXGRAPH graph, double each, int redraw);
QXI_API int QXISetXTickSize(QXGRAPH graph, int size, int redraw);
QXI_API int QXISetYTickSize(QXGRAPH graph, int size, int redraw);
QXI_API int QXISetXBigTickVisible(QXGRAPH graph, int visible, int redraw);
QXI_API int QXISetYBigTickVisible(QXGRAPH graph, int visible, int redraw);
QXI_API int QXISetXBigTickEveryTick(QXGRAPH graph, int every, int redraw);
QXI_API int QXISetYBigTickEveryTick(QXGRAPH graph, int every, int redraw);
QXI_API int QXISetXBigTickSize(QXGRAPH graph, int size, int redraw);
QXI_API int QXISetYBigTickSize(QXGRAPH graph, int size, int redraw);

// Value visibility and fonts
QXI_API int QXISetXValVisible(QXGRAPH graph, int visible, int redraw);
QXI_API int QXISetYValVisible(QXGRAPH graph, int visible, int redraw);
QXI_API int QXISetXValFont(QXGRAPH graph, plat::HFONT font, int redraw);
QXI_API int QXISetYValFont(QXGRAPH graph, plat::HFONT font, int redraw);

// Grid lines
QXI_API int QXISetXGridLineVisible(QXGRAPH graph, int visible, int redraw);
QXI_API int QXISetYGridLineVisible(QXGRAPH graph, int visible, int redraw);
QXI_API int QXISetXGridLineStyle(QXGRAPH graph, int style, int redraw);
QXI_API int QXISetYGridLineStyle(QXGRAPH graph, int style, int redraw);
QXI_API int QXISetXGridLineWidth(QXGRAPH graph, int width, int redraw);
QXI_API int QXISetYGridLineWidth(QXGRAPH graph, int width, int redraw);
QXI_API int QXISetXGridLineScale(QXGRAPH graph, int mode, int redraw);
QXI_API int QXISetYGridLineScale(QXGRAPH graph, int mode, int redraw);
QXI_API int QXISetXGridLineEach(QXGRAPH graph, double each, int redraw);
QXI_API int QXISetYGridLineEach(QXGRAPH graph, double each, int redraw);

// Data extents and fitting
QXI_API int QXISetXMinMaxScale(QXGRAPH graph, int mode, int redraw);
QXI_API int QXISetYMinMaxScale(QXGRAPH graph, int mode, int redraw);
QXI_API int QXIFitPointsInView(QXGRAPH graph, int redraw);

// Loading data from files (1 on success, else an ErrorCode)
QXI_API int QXILoadVECFile(QXGRAPH graph, int set_id, const char* file);
QXI_API int QXILoadBINFile(QXGRAPH graph, int set_id, const char* file, int byte_offset, int element_type, int count, int redraw);
QXI_API int QXILoadTextVector(QXGRAPH graph, int set_id, int axis, const char* file, int mode, int unused, int header_lines, int count);
QXI_API int QXILoadBinVector(QXGRAPH graph, int set_id, int axis, const char* file, int first_element, int element_type, int count);

// Connectivity
QXI_API int QXIConnectGraphSet(QXGRAPH graph, intptr_t a, intptr_t b, intptr_t c, intptr_t d);
QXI_API int QXIDriverConnectGraphSet(QXGRAPH graph, intptr_t a, intptr_t b);
QXI_API int QXIDisconnectGraphSet(QXGRAPH graph, intptr_t a, intptr_t b, intptr_t c);
QXI_API int QXILoadGraphSetData(QXGRAPH graph, int set_id, const char* source, int redraw);
QXI_API int QXISetGraphSetData(QXGRAPH graph, int set_id, int redraw);
QXI_API int QXISetGraphSetConnectParam(QXGRAPH graph, intptr_t a, intptr_t b, intptr_t c, intptr_t d);
QXI_API int QXIGetGraphSetConnectParam(QXGRAPH graph, intptr_t a, intptr_t b, intptr_t c, intptr_t d);

// Titles
QXI_API int QXISetMainTitleVisible(QXGRAPH graph, int visible, int redraw);
QXI_API int QXISetMainTitle(QXGRAPH graph, const char* text, int redraw);
QXI_API int QXISetMainTitleFont(QXGRAPH graph, plat::HFONT font, int redraw);
QXI_API int QXISetXTitleVisible(QXGRAPH graph, int visible, int redraw);
QXI_API int QXISetXTitle(QXGRAPH graph, const char* text, int redraw);
QXI_API int QXISetXTitleFont(QXGRAPH graph, plat::HFONT font, int redraw);
QXI_API int QXISetYTitleVisible(QXGRAPH graph, int visible, int redraw);
QXI_API int QXISetYTitle(QXGRAPH graph, const char* text, int redraw);
QXI_API int QXISetYTitleFont(QXGRAPH graph, plat::HFONT font, int redraw);

// Scroller
QXI_API int QXISetScrollerHeight(QXGRAPH graph, int height);
QXI_API int QXISetScrollerVisible(QXGRAPH graph, int visible, int redraw);
QXI_API int QXISetScrollerAppearance(QXGRAPH graph, int appearance, int redraw);
QXI_API int QXISetScrollerPos(QXGRAPH graph, int position, int redraw);
QXI_API int QXISetScrollerAutoChange(QXGRAPH graph, int on);
QXI_API int QXISetScrollerSmallChange(QXGRAPH graph, double step);
QXI_API int QXISetScrollerBigChange(QXGRAPH graph, double step);
QXI_API int QXISetScrollerUnitChange(QXGRAPH graph, int unit);
QXI_API int QXISetScrollerDraggGraph(QXGRAPH graph, int on);
QXI_API int QXISetScrollerShowAddedPoint(QXGRAPH graph, int on);
QXI_API int QXIScrollTo(QXGRAPH graph, int unused);

// Queries
QXI_API int QXIGetNumGraphSets(QXGRAPH graph, int* count);
QXI_API int QXIGetGraphSetInfo(QXGRAPH graph, int index, GraphSetInfo* out);
QXI_API int QXIGetGraphSetInfoByID(QXGRAPH graph, int set_id, GraphSetInfo* out);
QXI_API int QXIGetAxesInfo(QXGRAPH graph, double* out);
QXI_API int QXIGetGraphDisplayRect(QXGRAPH graph, plat::RECT* out);
QXI_API int QXIGetWindowRect(QXGRAPH graph, plat::RECT* out);
QXI_API int QXIIsGraphSetExist(QXGRAPH graph, int set_id);
QXI_API int QXIGetGraphSetID(QXGRAPH graph, const char* name, int* set_id);

// Printing (QXIPrint: 1 when printed, else an ErrorCode)
QXI_API int QXIPrint(QXGRAPH graph);
QXI_API int QXISetPrintStyle(QXGRAPH graph, int style);

// Errors
QXI_API int QXISetRunMode(QXGRAPH graph, int mode);
QXI_API int QXIGetLastError(QXGRAPH graph);
QXI_API int QXIGetLastErrorMsg(QXGRAPH graph, char* buffer);
QXI_API int QXIClearError(QXGRAPH graph);

// Tracer
QXI_API int QXISetTracerLineVisible(QXGRAPH graph, int visible);
QXI_API int QXISetTracerLineActive(QXGRAPH graph, int activation);
QXI_API int QXISetTracerLineType(QXGRAPH graph, int type);
QXI_API int QXISetTracerLineColor(QXGRAPH graph, plat::COLORREF colour);
QXI_API int QXISetTracerLineWidth(QXGRAPH graph, int width);
QXI_API int QXISetTracerValVisible(QXGRAPH graph, int visible);
QXI_API int QXISetTracerValActive(QXGRAPH graph, int activation);
QXI_API int QXISetTracerValType(QXGRAPH graph, int type);
QXI_API int QXISetTracerValColor(QXGRAPH graph, plat::COLORREF colour);
QXI_API int QXISetTracerValBkColor(QXGRAPH graph, plat::COLORREF colour);
QXI_API int QXISetTracerValFont(QXGRAPH graph, plat::HFONT font);

// References (1 on success, else an ErrorCode)
QXI_API int QXIAddRef(QXGRAPH graph, const char* id, int kind, int pen, int width, double x, double y, double x2, double y2, plat::COLORREF colour, int redraw);
QXI_API int QXIRemoveRef(QXGRAPH graph, const char* id);
QXI_API int QXIRemoveAllRefs(QXGRAPH graph);

// Labels (1 on success, else an ErrorCode)
QXI_API int QXIAddLabel(QXGRAPH graph, const char* id, const char* text, int unused, int placement, double x, double y, int value_a, int value_b, plat::COLORREF colour, int redraw);
QXI_API int QXIRemoveLabel(QXGRAPH graph, const char* id);
QXI_API int QXIRemoveAllLabels(QXGRAPH graph);
QXI_API int QXISetLabelXY(QXGRAPH graph, const char* id, double x, double y, int redraw);
QXI_API int QXISetLabelText(QXGRAPH graph, const char* id, const char* text, int redraw);

// Bookmarks (0 on success, 1 for an unknown bookmark or index; QXIAddBookmark
// returns 1 when the graph already holds 100 bookmarks)
QXI_API int QXIAddBookmark(QXGRAPH graph, int id, double x, const char* text, int value, int redraw);
QXI_API int QXIRemoveBookmark(QXGRAPH graph, int id, int redraw);
QXI_API int QXIRemoveAllBookmarks(QXGRAPH graph, int redraw);
QXI_API int QXIGotoBookmark(QXGRAPH graph, int id, int unused);
QXI_API int QXIGetBookmark(QXGRAPH graph, int index, int* id, double* x, char* text);
QXI_API int QXISetBookmarkRemark(QXGRAPH graph, int id, const char* text);

} // extern "C"
