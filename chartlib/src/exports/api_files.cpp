// Exports: the chart data file loaders.
#include "api_p.h"
#include "chartfiles.h"
#include "dvec.h"
#include "plat/uihost.h"
#include <vector>

using namespace plat;
using namespace qxi;

namespace {

int32_t reader_code(ReadError e)
{
    switch (e) {
    case READ_OPEN: return code_of(9);
    case READ_FORMAT: return code_of(10);
    case READ_MEMORY: return code_of(13);
    case READ_SHORT: return code_of(11);
    case READ_PARAM: return code_of(16);
    default: return code_of(1);
    }
}

// The loaders of whole sets keep the fatal box for a bad handle.
int32_t invalid_graph_box()
{
    MessageBox(0, "No description for this error!", "QXGraph Fatal Error", MB_ICONINFORMATION | MB_TASKMODAL);
    return ERR_INVALID_GRAPH;
}

HGLOBAL make_vector(const Series& s)
{
    if (s.values.empty())
        return 0;
    HGLOBAL h = vec_create(s.type, int64_t(s.values.size()));
    if (!h)
        return 0;
    VecLock v(h);
    for (size_t i = 0; i < s.values.size(); ++i)
        v.set(int(i), s.values[i]);
    return h;
}

// A file type the graph's type cannot hold without loss: wider than it.
bool wider(int file_type, int graph_type) { return file_type > graph_type; }

int32_t take_vectors(GraphRecord& g, SetRecord& s, const Series& x, const Series& y)
{
    if (wider(x.type, g.ax[0].data_type))
        return code_of(14);
    if (wider(y.type, g.ax[1].data_type))
        return code_of(15);
    HGLOBAL hx = make_vector(x), hy = make_vector(y);
    if ((!x.values.empty() && !hx) || (!y.values.empty() && !hy)) {
        vec_free(hx);
        vec_free(hy);
        return code_of(13);
    }
    s.x = hx;
    s.y = hy;
    s.count = int(std::min(x.values.size(), y.values.size()));
    return 0;
}

void empty_set(SetRecord& s, bool disconnect)
{
    free_set_data(s);
    if (disconnect && s.connection)
        disconnect_set(s);
}

} // namespace

extern "C" {

int QXILoadVECFile(QXGRAPH graph, int set_id, const char* file)
{
    GraphRecord* gp = graph_from_handle(graph);
    if (!gp)
        return invalid_graph_box();
    GraphRecord& g = *gp;
    SetRecord* s = find_set(g, set_id);
    if (!s)
        return report_error(g, code_of(5));
    empty_set(*s, true);
    std::vector<uint8_t> bytes;
    Series x, y;
    int32_t code = 0;
    if (!read_whole_file(file, bytes))
        code = code_of(9);
    else if (ReadError e = parse_vec(bytes, x, y); e != READ_OK)
        code = reader_code(e);
    else
        code = take_vectors(g, *s, x, y);
    refresh_extents(g);
    if (code)
        return report_error(g, code);
    return 1;
}

int QXILoadBINFile(QXGRAPH graph, int set_id, const char* file, int byte_offset, int element_type, int count,
                   int redraw)
{
    GraphRecord* gp = graph_from_handle(graph);
    if (!gp)
        return invalid_graph_box();
    GraphRecord& g = *gp;
    SetRecord* s = find_set(g, set_id);
    if (!s)
        return report_error(g, code_of(5));
    empty_set(*s, true);
    int32_t code = 0;
    Series x, y;
    std::vector<uint8_t> bytes;
    if (count < -1 || byte_offset < 0 || element_type < 0 || element_type > 5)
        code = code_of(16);
    else if (!read_whole_file(file, bytes))
        code = code_of(9);
    else if (ReadError e = parse_bin_samples(bytes, byte_offset, element_type, count, y); e != READ_OK)
        code = reader_code(e);
    else {
        size_t k = y.values.size();
        x.type = k <= 32767 ? TYPE_LONG : TYPE_FLOAT;
        x.values.resize(k);
        for (size_t i = 0; i < k; ++i)
            x.values[i] = to_type(double(i), x.type);
        code = take_vectors(g, *s, x, y);
    }
    refresh_extents(g);
    if (code)
        return report_error(g, code);
    redraw_all(g, redraw);
    return 1;
}

static int load_axis(QXGRAPH graph, int set_id, int axis, const std::vector<double>* values, ReadError e,
                     bool opened)
{
    QXI_GRAPH(graph);
    SetRecord* s = find_set(g, set_id);
    if (!s)
        return report_error(g, code_of(5));
    if (axis != 0 && axis != 1)
        return report_error(g, code_of(16));
    empty_set(*s, false);
    int32_t code = 0;
    if (e == READ_PARAM)
        code = code_of(16);
    else if (!opened)
        code = code_of(9);
    else if (e != READ_OK)
        code = reader_code(e);
    else if (!values->empty()) {
        Series v;
        v.type = g.ax[axis].data_type;
        v.values.reserve(values->size());
        for (double d : *values)
            v.values.push_back(to_type(d, v.type));
        HGLOBAL h = make_vector(v);
        if (!h)
            code = code_of(13);
        else {
            (axis == 0 ? s->x : s->y) = h;
            s->count = int(values->size());
            if (axis == 1) {
                Series idx;
                idx.type = g.ax[0].data_type;
                for (size_t i = 0; i < values->size(); ++i)
                    idx.values.push_back(to_type(double(i), idx.type));
                s->x = make_vector(idx);
                if (!s->x) {
                    free_set_data(*s);
                    code = code_of(13);
                }
            }
        }
    }
    refresh_extents(g);
    return code ? report_error(g, code) : 1;
}

int QXILoadTextVector(QXGRAPH graph, int set_id, int axis, const char* file, int mode, int, int header_lines,
                      int count)
{
    if (!graph_from_handle(graph))
        return ERR_INVALID_GRAPH;
    std::vector<double> values;
    std::vector<uint8_t> bytes;
    ReadError e = READ_OK;
    bool opened = true;
    if ((mode != 0 && mode != 1) || count == 0 || count < -1 || header_lines < 0)
        e = READ_PARAM;
    else if (!(opened = read_whole_file(file, bytes)))
        e = READ_OPEN;
    else
        e = parse_text_vector(bytes, header_lines, count, values);
    return load_axis(graph, set_id, axis, &values, e, opened);
}

int QXILoadBinVector(QXGRAPH graph, int set_id, int axis, const char* file, int first_element, int element_type,
                     int count)
{
    if (!graph_from_handle(graph))
        return ERR_INVALID_GRAPH;
    std::vector<double> values;
    std::vector<uint8_t> bytes;
    ReadError e = READ_OK;
    bool opened = true;
    if (count == 0 || count < -1 || first_element < 0 || element_type < 0 || element_type > 3)
        e = READ_PARAM;
    else if (!(opened = read_whole_file(file, bytes)))
        e = READ_OPEN;
    else
        e = parse_bin_vector(bytes, first_element, element_type, count, values);
    return load_axis(graph, set_id, axis, &values, e, opened);
}

} // extern "C"
