// The exported interface: symbols, handle checks, errors, sets, annotations,
// samples, printing and the connectivity road.
#include "support/graph_fixture.h"
#include "core.h"
#include "dvec.h"
#include "plat/crt.h"
#include "plat/module.h"
#include "plat/profile.h"
#include <gmock/gmock.h>
#include <cmath>
#include <cstring>
#include <dlfcn.h>
#include <fstream>

using namespace qxtest;
using namespace plat;

namespace {

std::vector<std::string> export_names()
{
    std::ifstream in(std::string(VORN_SOURCE_DIR) + "/chartlib/qxi32.exports");
    std::vector<std::string> names;
    for (std::string line; std::getline(in, line);)
        if (!line.empty())
            names.push_back(line);
    return names;
}

} // namespace

TEST(ChartSymbols, EveryExportResolvesByName)
{
    std::string lib = std::string(VORN_BINARY_DIR) + "/bin/libqxi32.so";
    void* h = dlopen(lib.c_str(), RTLD_NOW);
    ASSERT_NE(h, nullptr) << dlerror();
    auto names = export_names();
    ASSERT_EQ(names.size(), 169u);
    for (const auto& n : names)
        EXPECT_NE(dlsym(h, n.c_str()), nullptr) << n;
    // Internal helpers stay hidden.
    EXPECT_EQ(dlsym(h, "_ZN3qxi12report_errorERNS_11GraphRecordEi"), nullptr);
    dlclose(h);
}

using ChartHandles = GraphTest;

TEST_F(ChartHandles, BadAndDestroyedHandlesAreRefusedByEveryFamily)
{
    QXGRAPH other = QXICreateGraph(0, CreateWindowEx(0, kCallerClass, "g2", WS_POPUP, 0, 0, 50, 50, 0, 0, 0, nullptr));
    ASSERT_NE(other, 0u);
    EXPECT_EQ(QXIDestroyGraph(other), 0);
    int count = -7;
    double axes[2] = {-1, -1};
    for (QXGRAPH bad : {QXGRAPH(0), QXGRAPH(0x12345678), other}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(QXIDestroyGraph(bad), 0x80001);
        EXPECT_EQ(QXIAddEmptyGraphSet(bad, 1), 0x80001);
        EXPECT_EQ(QXISetViewXMax(bad, 5, 1), 0x80001);
        EXPECT_EQ(QXIGetNumGraphSets(bad, &count), 0x80001);
        EXPECT_EQ(QXIGetAxesInfo(bad, axes), 0x80001);
        EXPECT_EQ(QXIAddRef(bad, "r", 1, 0, 1, 0, 0, 0, 0, 0, 0), 0x80001);
        EXPECT_EQ(QXIAddBookmark(bad, 1, 0, nullptr, 0, 0), 0x80001);
        EXPECT_EQ(QXISetTracerLineVisible(bad, 1), 0x80001);
        EXPECT_EQ(QXIPrint(bad), 0x80001);
        EXPECT_EQ(QXILoadGraphSetData(bad, 1, "", 0), 0x80001);
        EXPECT_EQ(QXIIsGraphSetExist(bad, 1), 0);
    }
    EXPECT_EQ(count, -7);
    EXPECT_EQ(axes[0], -1);
    // The whole-set loaders keep their fatal box.
    host.clear_records();
    EXPECT_EQ(QXILoadVECFile(other, 1, "x.vec"), 0x80001);
    ASSERT_EQ(host.boxes().size(), 1u);
    EXPECT_EQ(host.boxes()[0].caption, "QXGraph Fatal Error");
    EXPECT_EQ(host.boxes()[0].text, "No description for this error!");
    // A new graph in the freed slot does not answer to the old handle.
    QXGRAPH again = QXICreateGraph(0, CreateWindowEx(0, kCallerClass, "g3", WS_POPUP, 0, 0, 50, 50, 0, 0, 0, nullptr));
    ASSERT_NE(again, 0u);
    EXPECT_NE(again, other);
    EXPECT_EQ(QXIAddEmptyGraphSet(other, 1), 0x80001);
    EXPECT_EQ(QXIIsGraphSetExist(again, 1), 0);
    QXIDestroyGraph(again);
}

using ChartErrors = GraphTest;

TEST_F(ChartErrors, FreshGraphHasNoError)
{
    char buf[QX_ERROR_TEXT_SIZE];
    std::memset(buf, 'x', sizeof buf);
    EXPECT_EQ(QXIGetLastError(graph), 0);
    QXIGetLastErrorMsg(graph, buf);
    EXPECT_STREQ(buf, "");
}

TEST_F(ChartErrors, UnknownSetIsReportedInBoxAndStoredSilently)
{
    EXPECT_EQ(QXILoadVECFile(graph, 42, "none.vec"), 0x50001);
    char buf[QX_ERROR_TEXT_SIZE];
    QXIGetLastErrorMsg(graph, buf);
    EXPECT_STREQ(buf, "Error 5: Specified Set ID not defined.");
    ASSERT_EQ(host.boxes().size(), 1u);
    EXPECT_EQ(host.boxes()[0].caption, "QX Interface API Error ");
    EXPECT_EQ(host.boxes()[0].text, "Error 5: Specified Set ID not defined.");
    EXPECT_EQ(host.boxes()[0].owner, window);

    host.clear_records();
    QXIClearError(graph);
    QXISetRunMode(graph, 0);
    EXPECT_EQ(QXILoadBINFile(graph, 42, "none.bin", 0, 0, -1, 0), 0x50001);
    EXPECT_TRUE(host.boxes().empty());
    EXPECT_EQ(QXIGetLastError(graph), 0x50001);
}

TEST_F(ChartErrors, CodeOfAnUnloadedModuleIsStoredWithUnknownText)
{
    qxi::GraphRecord probe;
    probe.run_mode = 1;
    probe.last_error = 0x50001;
    EXPECT_EQ(qxi::report_error(probe, (3 << 16) | 2), (3 << 16) | 2);
    EXPECT_STREQ(probe.last_error_text, "Unknown error");
    EXPECT_EQ(probe.last_error, (3 << 16) | 2);
    ASSERT_FALSE(host.boxes().empty());
    EXPECT_EQ(host.boxes().back().caption, "QX Error");
}

TEST_F(ChartErrors, TextIsCutToTwoHundredAndTheBufferIsNotOverrun)
{
    HINSTANCE fake = RegisterModule("QXDATA32.DLL", nullptr);
    std::string longtext(250, 'w');
    StringEntry e{1000 + 7, longtext.c_str()};
    RegisterStringTable(fake, &e, 1);
    qxi::GraphRecord probe;
    probe.run_mode = 0;
    qxi::report_error(probe, (7 << 16) | 2);
    EXPECT_EQ(std::strlen(probe.last_error_text), 200u);
    EXPECT_EQ(std::string(probe.last_error_text).substr(0, 9), "Error 7: ");

    QXISetRunMode(graph, 0);
    QXILoadVECFile(graph, 9, "x.vec");
    char buf[QX_ERROR_TEXT_SIZE + 16];
    std::memset(buf, 0x5A, sizeof buf);
    QXIGetLastErrorMsg(graph, buf);
    EXPECT_STREQ(buf, "Error 5: Specified Set ID not defined.");
    for (size_t i = QX_ERROR_TEXT_SIZE; i < sizeof buf; ++i)
        EXPECT_EQ(buf[i], 0x5A);
    QXIGetLastErrorMsg(graph, nullptr);
}

using ChartSets = GraphTest;

TEST_F(ChartSets, PointCountIsTheShorterVector)
{
    HGLOBAL x = qxi::vec_create(2, 5), y = qxi::vec_create(2, 3);
    EXPECT_EQ(QXIAddGraphSet(graph, 1, x, y, 0), 0);
    GraphSetInfo info{};
    QXIGetGraphSetInfoByID(graph, 1, &info);
    EXPECT_EQ(info.point_count, 3);
    HGLOBAL y2 = qxi::vec_create(2, 3);
    QXIAddGraphSet(graph, 2, 0, y2, 0);
    QXIGetGraphSetInfoByID(graph, 2, &info);
    EXPECT_EQ(info.point_count, 3);
}

TEST_F(ChartSets, SameIdTwiceLeavesOneSetAtTheEnd)
{
    QXIAddEmptyGraphSet(graph, 1);
    QXIAddEmptyGraphSet(graph, 2);
    QXIAddGraphSet(graph, 1, 0, qxi::vec_create(2, 4), 0);
    int n = 0;
    QXIGetNumGraphSets(graph, &n);
    EXPECT_EQ(n, 2);
    GraphSetInfo info{};
    QXIGetGraphSetInfo(graph, 1, &info);
    EXPECT_EQ(info.id, 1);
    EXPECT_EQ(info.point_count, 4);
}

TEST_F(ChartSets, DeadCallerVectorIsRefused)
{
    QXISetRunMode(graph, 0);
    HGLOBAL v = qxi::vec_create(2, 3);
    qxi::vec_free(v);
    EXPECT_EQ(QXIAddGraphSet(graph, 1, v, 0, 0), 0x100001);
    EXPECT_EQ(QXIIsGraphSetExist(graph, 1), 0);
}

TEST_F(ChartSets, PointsGoInByValueAndNullPointsAreRefused)
{
    QXISetXType(graph, 1, 0);
    QXISetYType(graph, 0, 0);
    QXIAddEmptyGraphSet(graph, 3);
    double x = 1.75, y = 2.9, big = 1e12, nan = std::nan("");
    EXPECT_EQ(QXIAddPoint(graph, 3, &x, &y), 0);
    EXPECT_EQ(QXIAddPoint(graph, 3, &x, &big), 0);
    EXPECT_EQ(QXIAddPoint(graph, 3, &x, &nan), 0);
    QXISetRunMode(graph, 0);
    EXPECT_EQ(QXIAddPoint(graph, 3, nullptr, &y), 0x100001);
    EXPECT_EQ(QXIAddPoint(graph, 3, &x, nullptr), 0x100001);
    GraphSetInfo info{};
    QXIGetGraphSetInfoByID(graph, 3, &info);
    EXPECT_EQ(info.point_count, 3);
    // Read back through the set's own vectors (same process-wide memory).
    int n = 0;
    QXIGetNumGraphSets(graph, &n);
    ASSERT_EQ(n, 1);
    double idx = 3;
    QXISetPoint(graph, 3, 3, &idx, &idx); // index == count: nothing
    QXIGetGraphSetInfoByID(graph, 3, &info);
    EXPECT_EQ(info.point_count, 3);
}

TEST_F(ChartSets, SlotsOutsideOneToTenAreIgnoredAndFewerSlotsMoveSets)
{
    QXISetGraphSlots(graph, 3, 0);
    QXIAddEmptyGraphSet(graph, 1);
    QXIAddEmptyGraphSet(graph, 2);
    QXISetGraphSetSlot(graph, 1, 1, 0);
    QXISetGraphSetSlot(graph, 2, 2, 0);
    RECT r{-1, -1, -1, -1};
    QXIGetSlotRect(graph, 2, &r);
    EXPECT_GT(r.bottom, r.top);
    for (int bad : {0, 11}) {
        QXISetGraphSlots(graph, bad, 0);
        RECT q{-1, -1, -1, -1};
        QXIGetSlotRect(graph, 2, &q);
        EXPECT_EQ(q.top, r.top) << bad;
    }
    QXISetGraphSlots(graph, 1, 0);
    RECT gone{-1, -1, -1, -1};
    QXIGetSlotRect(graph, 1, &gone);
    EXPECT_EQ(gone.left, -1);
    // Both sets now draw in slot 0: a set in slot 0 keeps its slot when one slot is asked again.
    QXISetGraphSlots(graph, 2, 0);
    QXISetGraphSetSlot(graph, 1, 5, 0); // clamped to 1
    QXISetGraphSlots(graph, 1, 0);
    QXISetGraphSlots(graph, 2, 0);
    RECT s0{}, s1{};
    QXIGetSlotRect(graph, 0, &s0);
    QXIGetSlotRect(graph, 1, &s1);
    EXPECT_EQ(s1.bottom, r.bottom > 0 ? s1.bottom : 0);
}

TEST_F(ChartSets, NameLookupIgnoresCase)
{
    QXIAddEmptyGraphSet(graph, 7);
    QXISetGraphSetName(graph, 7, "Sales per day", 0);
    GraphSetInfo info{};
    QXIGetGraphSetInfoByID(graph, 7, &info);
    EXPECT_STREQ(info.name, "Sales per ");
    int id = -1;
    QXIGetGraphSetID(graph, "SALES PER ", &id);
    EXPECT_EQ(id, 7);
    QXIGetGraphSetID(graph, "nothing", &id);
    EXPECT_EQ(id, 0);
}

using ChartAnnotations = GraphTest;

TEST_F(ChartAnnotations, IdsAreComparedAsTheyAreKept)
{
    QXISetRunMode(graph, 0);
    EXPECT_EQ(QXIAddRef(graph, "r1", 1, 0, 1, 0, 5, 0, 0, 0, 0), 1);
    EXPECT_EQ(QXIAddRef(graph, "r1", 2, 0, 1, 3, 0, 0, 0, 0, 0), 0x130001);
    const char* twelve = "abcdefghijkl";
    EXPECT_EQ(QXIAddRef(graph, twelve, 1, 0, 1, 0, 5, 0, 0, 0, 0), 1);
    EXPECT_EQ(QXIAddRef(graph, twelve, 1, 0, 1, 0, 5, 0, 0, 0, 0), 0x130001);
    EXPECT_EQ(QXIRemoveRef(graph, twelve), 1);
    EXPECT_EQ(QXIRemoveRef(graph, twelve), 0x140001);
    EXPECT_EQ(QXIAddLabel(graph, "l", "text", 0, 0, 10, 10, 0, 0, 0, 0), 1);
    EXPECT_EQ(QXIAddLabel(graph, "l", nullptr, 0, 0, 10, 10, 0, 0, 0, 0), 0x150001);
    EXPECT_EQ(QXISetLabelText(graph, "zz", "t", 0), 0x160001);
    EXPECT_EQ(QXISetLabelXY(graph, "l", 1, 2, 0), 1);
    EXPECT_EQ(QXIRemoveLabel(graph, "l"), 1);
    EXPECT_EQ(QXIRemoveLabel(graph, "l"), 0x160001);
}

TEST_F(ChartAnnotations, BookmarkTwiceCountsAndTheHundredAndFirstIsRefused)
{
    EXPECT_EQ(QXIAddBookmark(graph, 7, 3.4, nullptr, 0, 0), 0);
    EXPECT_EQ(QXIAddBookmark(graph, 7, 5.0, nullptr, 0, 0), 0);
    int id = 0;
    double x = 0;
    char text[QX_BOOKMARK_TEXT_SIZE];
    EXPECT_EQ(QXIGetBookmark(graph, 0, &id, &x, text), 0);
    EXPECT_EQ(id, 7);
    EXPECT_STREQ(text, "2");
    EXPECT_EQ(QXIGetBookmark(graph, 1, &id, &x, text), 1);
    for (int i = 1; i < 100; ++i)
        ASSERT_EQ(QXIAddBookmark(graph, 100 + i, i * 0.05, nullptr, 0, 0), 0);
    host.clear_records();
    EXPECT_EQ(QXIAddBookmark(graph, 500, 1.0, nullptr, 0, 0), 1);
    ASSERT_EQ(host.boxes().size(), 1u);
    EXPECT_EQ(host.boxes()[0].text, "The number of bookmarks may not exceed 100");
    EXPECT_EQ(host.boxes()[0].caption, "Korimatx");
    EXPECT_EQ(QXIGotoBookmark(graph, 500, 0), 1);
    EXPECT_EQ(QXIGotoBookmark(graph, 7, 0), 0);
    EXPECT_EQ(QXISetBookmarkRemark(graph, 7, "peak"), 0);
    EXPECT_EQ(QXIRemoveBookmark(graph, 7, 0), 0);
    EXPECT_EQ(QXIRemoveBookmark(graph, 7, 0), 1);
}

using ChartSamples = GraphTest;

TEST_F(ChartSamples, ExtremeIdsGiveFiniteWaves)
{
    QXISetViewYMax(graph, 10, 0);
    for (int id : {-9, 292, INT32_MAX, INT32_MIN}) {
        for (int wave : {3, 4}) {
            SCOPED_TRACE(::testing::Message() << id << " wave " << wave);
            QXIAddEmptyGraphSet(graph, id);
            EXPECT_EQ(QXISetSampleGraph(graph, id, wave, 0), 0);
            GraphSetInfo info{};
            QXIGetGraphSetInfoByID(graph, id, &info);
            EXPECT_EQ(info.point_count, 300);
        }
    }
}

TEST_F(ChartSamples, RandomWaveLeavesTheSimulatorsDrawsAlone)
{
    crt_srand(1);
    QXIAddEmptyGraphSet(graph, 1);
    QXISetSampleGraph(graph, 1, 9, 0);
    EXPECT_EQ(crt_rand(), 41);
    EXPECT_EQ(crt_rand(), 18467);
    QXISetSampleGraph(graph, 1, 9, 0);
    EXPECT_EQ(crt_rand(), 6334);
}

TEST_F(ChartSamples, WaveZeroEmptiesTheSet)
{
    QXIAddEmptyGraphSet(graph, 1);
    QXISetSampleGraph(graph, 1, 2, 0);
    QXISetSampleGraph(graph, 1, 0, 0);
    GraphSetInfo info{};
    QXIGetGraphSetInfoByID(graph, 1, &info);
    EXPECT_EQ(info.point_count, 0);
}

using ChartPrint = GraphTest;

TEST_F(ChartPrint, NoPrinterIsReportedAndColoursStay)
{
    WriteProfileString("windows", "device", nullptr);
    QXISetRunMode(graph, 0);
    QXISetItemColor(graph, 2, 0x00FF00, 0);
    QXISetPrintStyle(graph, 0);
    EXPECT_EQ(QXIPrint(graph), 0x10001);
    EXPECT_EQ(QXIGetLastError(graph), 0x10001);
    QXISetFrameBorderStyle(graph, 0, 0);
    EXPECT_EQ(pixel(width / 2, height / 2), 0x00FF00u);
}

using ChartConnect = GraphTest;

TEST_F(ChartConnect, UnconnectedSetsNeverReachTheLibrary)
{
    QXISetRunMode(graph, 0);
    QXIAddEmptyGraphSet(graph, 1);
    EXPECT_EQ(QXILoadGraphSetData(graph, 2, "src", 0), 0x50001);
    EXPECT_EQ(QXILoadGraphSetData(graph, 1, "src", 0), 0x30001);
    EXPECT_EQ(QXISetGraphSetData(graph, 1, 0), 0x30001);
    EXPECT_EQ(QXIConnectGraphSet(graph, 0, 0, 0, 0), 1);
    EXPECT_EQ(QXIDisconnectGraphSet(graph, 0, 0, 0), 0);
}

namespace {
HINSTANCE caller_in(const char* sub)
{
    std::string path = std::string(VORN_BINARY_DIR) + "/qxc32/" + sub + "/caller";
    return RegisterModule((std::string("CALLER_") + sub + ".EXE").c_str(), path.c_str());
}
} // namespace

TEST_F(ChartConnect, MissingLibraryIsAnError)
{
    if (qxi::connect_loaded())
        GTEST_SKIP() << "a connectivity library is loaded for good in this process";
    qxi::connect_remember_instance(caller_in("none"));
    int32_t err = 0;
    EXPECT_EQ(qxi::connect_function("QXLGetData", err), nullptr);
    EXPECT_EQ(err, 0x110001);
    ASSERT_FALSE(host.boxes().empty());
    EXPECT_EQ(host.boxes().back().caption, "Unable to load DLL");
}

TEST_F(ChartConnect, MissingFunctionIsAnError)
{
    if (qxi::connect_loaded())
        GTEST_SKIP() << "a connectivity library is loaded for good in this process";
    qxi::connect_remember_instance(caller_in("missing"));
    int32_t err = 0;
    EXPECT_NE(qxi::connect_function("QXLGetData", err), nullptr);
    EXPECT_EQ(err, 0);
    EXPECT_EQ(qxi::connect_function("QXLSetData", err), nullptr);
    EXPECT_EQ(err, 0x120001);
}

TEST_F(ChartConnect, FullLibraryIsFoundInTheCallersFolder)
{
    if (qxi::connect_loaded())
        GTEST_SKIP() << "a connectivity library is loaded for good in this process";
    qxi::connect_remember_instance(caller_in("full"));
    int32_t err = 0;
    using SetData = int (*)(int32_t, HGLOBAL, HGLOBAL);
    auto f = reinterpret_cast<SetData>(qxi::connect_function("QXLSetData", err));
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f(5, 0, 0), 0);
}

TEST_F(ChartPrint, BlackAndWhitePageToPdfPutsTheColoursBack)
{
    std::string pdf = std::string(VORN_BINARY_DIR) + "/test-home/chartlib-print.pdf";
    std::remove(pdf.c_str());
    WriteProfileString("windows", "device", ("PDF,pdf," + pdf).c_str());
    QXISetItemColor(graph, 2, 0x00FF00, 0);
    QXIAddEmptyGraphSet(graph, 1);
    QXISetSampleGraph(graph, 1, 2, 0);
    QXISetGraphSetColor(graph, 1, 0x0000FF, 0);
    QXISetPrintStyle(graph, 0);
    EXPECT_EQ(QXIPrint(graph), 1);
    FILE* f = std::fopen(pdf.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    std::fclose(f);
    GraphSetInfo info{};
    QXIGetGraphSetInfoByID(graph, 1, &info);
    EXPECT_EQ(info.colour, 0x0000FF);
    QXISetFrameBorderStyle(graph, 0, 0);
    EXPECT_EQ(pixel(width / 2, 45), 0x00FF00u);
    WriteProfileString("windows", "device", nullptr);
}
