// Data vectors as the sets hold them: a header block and an element block in
// the process-wide global memory, so a caller's vector can be owned here.
#include "dvec.h"
#include "chartfiles.h"
#include "plat/memory.h"
#include <cstring>

#if __has_include("foundation/datavec.h")
#include "foundation/datavec.h"
#define QXI_FOUNDATION_VECTORS 1
#endif

using namespace plat;

namespace qxi {

#ifdef QXI_FOUNDATION_VECTORS

HGLOBAL vec_create(int type, int64_t count)
{
    if (count < 1 || count > INT32_MAX)
        return 0;
    return data_vector_create(type, int32_t(count), 1);
}
void vec_free(HGLOBAL v) { if (v) data_vector_free(v); }
int vec_count(HGLOBAL v) { return v ? data_vector_count(v) : 0; }
int vec_type(HGLOBAL v) { return v ? data_vector_type(v) : -1; }
bool vec_valid(HGLOBAL v)
{
    if (!v || !GlobalLock(v))
        return false;
    GlobalUnlock(v);
    int t = data_vector_type(v);
    return t >= 0 && t <= 2;
}
bool vec_resize(HGLOBAL v, int64_t count) { return count >= 1 && count <= INT32_MAX && data_vector_resize(v, int32_t(count)); }
bool vec_convert(HGLOBAL v, int type) { return data_vector_convert(v, type) != 0; }

VecLock::VecLock(HGLOBAL v) : handle_(v)
{
    if (!vec_valid(v))
        return;
    DataVector* d = data_vector_lock(v);
    if (!d)
        return;
    type_ = d->type;
    count_ = d->count;
    data_ = type_ == 0 ? static_cast<void*>(d->long_data) : type_ == 1 ? static_cast<void*>(d->float_data)
                                                                       : static_cast<void*>(d->double_data);
    if (!data_)
        data_vector_unlock(v);
}

VecLock::~VecLock()
{
    if (data_)
        data_vector_unlock(handle_);
}

#else

namespace {

// The header as the foundation keeps it: type, element block, count.
struct Header {
    int32_t type;
    HGLOBAL data;
    int32_t count;
};

size_t element_size(int type) { return type == 2 ? 8 : 4; }

Header* header_of(HGLOBAL v)
{
    if (!v || GlobalSize(v) < sizeof(Header))
        return nullptr;
    return static_cast<Header*>(GlobalLock(v));
}

} // namespace

HGLOBAL vec_create(int type, int64_t count)
{
    if (type < 0 || type > 2 || count < 1 || uint64_t(count) * element_size(type) > INT32_MAX)
        return 0;
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_DDESHARE, sizeof(Header));
    if (!h)
        return 0;
    HGLOBAL d = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_DDESHARE, size_t(count) * element_size(type));
    if (!d) {
        GlobalFree(h);
        return 0;
    }
    Header* p = static_cast<Header*>(GlobalLock(h));
    p->type = type;
    p->data = d;
    p->count = int32_t(count);
    GlobalUnlock(h);
    return h;
}

void vec_free(HGLOBAL v)
{
    Header* p = header_of(v);
    if (!p)
        return;
    HGLOBAL d = p->data;
    GlobalUnlock(v);
    if (d)
        GlobalFree(d);
    GlobalFree(v);
}

bool vec_valid(HGLOBAL v)
{
    Header* p = header_of(v);
    if (!p)
        return false;
    bool ok = p->type >= 0 && p->type <= 2 && p->count >= 0 &&
              GlobalSize(p->data) >= size_t(p->count) * element_size(p->type);
    GlobalUnlock(v);
    return ok;
}

int vec_count(HGLOBAL v)
{
    Header* p = header_of(v);
    if (!p)
        return 0;
    int n = p->count;
    GlobalUnlock(v);
    return n;
}

int vec_type(HGLOBAL v)
{
    Header* p = header_of(v);
    if (!p)
        return -1;
    int t = p->type;
    GlobalUnlock(v);
    return t;
}

bool vec_resize(HGLOBAL v, int64_t count)
{
    if (!vec_valid(v) || count < 1)
        return false;
    Header* p = header_of(v);
    bool ok = uint64_t(count) * element_size(p->type) <= INT32_MAX &&
              GlobalReAlloc(p->data, size_t(count) * element_size(p->type), GMEM_MOVEABLE | GMEM_ZEROINIT) != 0;
    if (ok)
        p->count = int32_t(count);
    GlobalUnlock(v);
    return ok;
}

bool vec_convert(HGLOBAL v, int type)
{
    if (type < 0 || type > 2 || !vec_valid(v))
        return false;
    int old = vec_type(v);
    if (old == type)
        return true;
    int n = vec_count(v);
    HGLOBAL fresh = vec_create(type, n);
    if (!fresh)
        return false;
    {
        VecLock from(v), to(fresh);
        for (int i = 0; i < n; ++i)
            to.set(i, from.get(i));
    }
    // Swap the element blocks, so the caller's handle stays the vector.
    Header* a = header_of(v);
    Header* b = header_of(fresh);
    std::swap(a->data, b->data);
    std::swap(a->type, b->type);
    GlobalUnlock(fresh);
    GlobalUnlock(v);
    vec_free(fresh);
    return true;
}

VecLock::VecLock(HGLOBAL v) : handle_(v)
{
    if (!vec_valid(v))
        return;
    Header* p = header_of(v);
    void* d = GlobalLock(p->data);
    if (!d) {
        GlobalUnlock(v);
        return;
    }
    type_ = p->type;
    count_ = p->count;
    data_ = d;
}

VecLock::~VecLock()
{
    if (!data_)
        return;
    Header* p = header_of(handle_);
    if (p) {
        GlobalUnlock(p->data);
        GlobalUnlock(handle_);
    }
    GlobalUnlock(handle_);
}

#endif

void VecLock::set(int i, double v)
{
    switch (type_) {
    case 0: static_cast<int32_t*>(data_)[i] = to_long(v); break;
    case 1: static_cast<float*>(data_)[i] = to_float(v); break;
    default: static_cast<double*>(data_)[i] = v; break;
    }
}

} // namespace qxi
