// Data vectors as the sets hold them: the foundation's typed vectors in the
// process-wide global memory, so a caller's vector can be owned here.
#include "dvec.h"
#include "chartfiles.h"
#include "plat/memory.h"
#include <cstring>

#include "foundation/datavec.h"

using namespace plat;

namespace qxi {

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
    if (!v || GlobalSize(v) < sizeof(DataVector) || !GlobalLock(v))
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


void VecLock::set(int i, double v)
{
    switch (type_) {
    case 0: static_cast<int32_t*>(data_)[i] = to_long(v); break;
    case 1: static_cast<float*>(data_)[i] = to_float(v); break;
    default: static_cast<double*>(data_)[i] = v; break;
    }
}

} // namespace qxi
