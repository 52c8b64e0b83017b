// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
/* A stand-in for the renderer program that fails the way a renderer can: the picture's name,
   the first thing each request holds, says how; any other name is drawn as one white pixel.
   What it keeps of the real one: it serves request after request on one run, reading each
   whole, so that the program keeps it for the next picture, and it ends when its input does.
   Each start adds a line to the file beside it named after it with ".starts", so that a test
   can count the renderers the program started. */
#include <limits.h>
#include <signal.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

static void answer(const char* bytes, uint64_t size) {
    fwrite(&size, sizeof size, 1, stdout); /* little-endian, as the machines it runs on */
    fwrite(bytes, 1, size, stdout);
}

/* "TVMP", then images of side x side pixels (RGB32), all white; length as the header says. */
static void white_images(uint32_t side, int count) {
    const uint32_t rgb32 = 4, none[3] = {0, 0, 0}, head[3] = {side, side, rgb32};
    const uint64_t pixels = (uint64_t)side * side * 4, size = 4 + 24 + pixels * count;
    static char white[1 << 16];
    memset(white, 0xff, sizeof white);
    fwrite(&size, sizeof size, 1, stdout);
    fwrite("TVMP", 1, 4, stdout);
    for (int i = 0; i < 2; ++i) {
        fwrite(i < count ? head : none, sizeof head, 1, stdout);
        for (uint64_t left = i < count ? pixels : 0, n; left > 0; left -= n)
            fwrite(white, 1, n = left < sizeof white ? left : sizeof white, stdout);
    }
}

static void count_start(void) {
    char self[PATH_MAX + 8] = {0};
    const ssize_t n = readlink("/proc/self/exe", self, PATH_MAX);
    if (n <= 0)
        return;
    strcpy(self + n, ".starts");
    FILE* log = fopen(self, "a");
    if (log) {
        fputs("started\n", log);
        fclose(log);
    }
}

/* Reads and drops the picture's bytes; 0 when the input ended. */
static int skip_picture(void) {
    uint64_t size = 0;
    char buffer[1 << 16];
    if (fread(&size, sizeof size, 1, stdin) != 1)
        return 0;
    for (size_t n; size > 0; size -= n)
        if ((n = fread(buffer, 1, size < sizeof buffer ? size : sizeof buffer, stdin)) == 0)
            return 0;
    return 1;
}

int main(void) {
    count_start();
    for (;;) {
        char how[64] = {0};
        uint32_t length = 0;
        if (fread(&length, sizeof length, 1, stdin) != 1 || length >= sizeof how ||
            fread(how, 1, length, stdin) != length)
            return 0;
        if (strcmp(how, "crash.wmf") == 0)
            raise(SIGSEGV); /* before reading the picture: the parent's write meets a closed socket */
        if (!skip_picture())
            return 0;
        if (strcmp(how, "hang.wmf") == 0)
            for (;;)
                pause();
        if (strcmp(how, "forks.wmf") == 0) { /* a child that outlives it, holding the socket; no answer */
            const pid_t child = fork();
            if (child == 0)
                for (;;)
                    pause();
            FILE* pids = fopen(getenv("FAKE_RENDERER_PIDS"), "a");
            if (pids) {
                fprintf(pids, "%d\n", (int)child);
                fclose(pids);
            }
            return 0;
        }
        if (strcmp(how, "busy.wmf") == 0) { /* 1.2 s of processor time, then a picture */
            struct timespec used = {0, 0};
            while (used.tv_sec * 1000000000L + used.tv_nsec < 1200000000L)
                clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &used);
        }
        if (strcmp(how, "garbage.wmf") == 0)
            answer("TVMP\x02\x00\x00\x00\x02\x00\x00\x00\x05\x00\x00\x00", 16); /* an image without its pixels */
        else if (strcmp(how, "slow.wmf") == 0) { /* three seconds asleep, hardly any processor time */
            sleep(3);
            white_images(1, 1);
        } else if (strcmp(how, "largest.wmf") == 0) /* the largest picture a renderer may hand back */
            white_images(8192, 1);
        else if (strcmp(how, "beyond.wmf") == 0) /* two images of the largest size: more than a picture */
            white_images(8192, 2);
        else
            white_images(1, 1);
        fflush(stdout);
    }
}
