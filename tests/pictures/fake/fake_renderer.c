/* A stand-in for the metafile renderer program that fails the way a renderer can: the
   picture's name, its one argument, says how. */
#include <signal.h>
#include <stdio.h>
#include <string.h>
#include <unistd.h>

int main(int argc, char** argv) {
    const char* how = argc > 1 ? argv[1] : "";
    if (strcmp(how, "crash.wmf") == 0)
        raise(SIGSEGV); /* before reading its input: the parent's write meets a closed pipe */
    if (strcmp(how, "hang.wmf") == 0)
        for (;;)
            pause();
    if (strcmp(how, "garbage.wmf") == 0)
        fwrite("TVMP\x02\x00\x00\x00\x02\x00\x00\x00\x05\x00\x00\x00", 1, 16, stdout); /* no pixels */
    if (strcmp(how, "huge.wmf") == 0) { /* 40000 x 1 pixels, wider than a picture may be, and no second image */
        static const char none[160000 + 12];
        fwrite("TVMP\x40\x9c\x00\x00\x01\x00\x00\x00\x05\x00\x00\x00", 1, 16, stdout);
        fwrite(none, 1, sizeof none, stdout);
    }
    return 0;
}
