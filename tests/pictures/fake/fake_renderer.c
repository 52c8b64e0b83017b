/* A stand-in for the metafile renderer program that fails the way a renderer can: the
   picture's name, the first thing each request holds, says how. */
#include <signal.h>
#include <stdint.h>
#include <stdio.h>
#include <string.h>
#include <unistd.h>

static void answer(const char* bytes, uint64_t size) {
    fwrite(&size, sizeof size, 1, stdout); /* little-endian, as the machines it runs on */
    fwrite(bytes, 1, size, stdout);
}

int main(void) {
    char how[64] = {0};
    uint32_t length = 0;
    if (fread(&length, sizeof length, 1, stdin) != 1 || length >= sizeof how || fread(how, 1, length, stdin) != length)
        return 0;
    if (strcmp(how, "crash.wmf") == 0)
        raise(SIGSEGV); /* before reading the picture: the parent's write meets a closed pipe */
    if (strcmp(how, "hang.wmf") == 0)
        for (;;)
            pause();
    if (strcmp(how, "garbage.wmf") == 0)
        answer("TVMP\x02\x00\x00\x00\x02\x00\x00\x00\x05\x00\x00\x00", 16); /* an image without its pixels */
    return 0;
}
