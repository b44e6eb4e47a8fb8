// Not plat::crt_rand() nor std::rand(): the session's generator.
struct View { int rand(); };
int View::rand() { return 4; }
int draw(View& v, View* p) { return v.rand() + p->rand(); }
