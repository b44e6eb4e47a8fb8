int crt_rand() { return 0; }
int pick() { return crt_rand(); }
