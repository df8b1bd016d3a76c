/* Loaded into the game with LD_PRELOAD by tools/pacing.sh: writes the monotonic time of each
 * SDL_RenderPresent, in nanoseconds, one a line, to the file that PRESENT_TIMES names. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

typedef struct SDL_Renderer SDL_Renderer;

void SDL_RenderPresent(SDL_Renderer* renderer) {
    static void (*present)(SDL_Renderer*);
    static FILE* times;
    if (present == NULL) {
        present = (void (*)(SDL_Renderer*))dlsym(RTLD_NEXT, "SDL_RenderPresent");
        const char* path = getenv("PRESENT_TIMES");
        times = path != NULL ? fopen(path, "w") : NULL;
    }
    present(renderer);
    if (times != NULL) {
        struct timespec now;
        clock_gettime(CLOCK_MONOTONIC, &now);
        fprintf(times, "%lld\n", (long long)now.tv_sec * 1000000000LL + now.tv_nsec);
    }
}
