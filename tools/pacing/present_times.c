/* Loaded into the game with LD_PRELOAD by tools/pacing.sh: writes the monotonic time of each
 * presented frame (SDL_RenderPresent or SDL_UpdateWindowSurface, whichever the game's presenter
 * uses), in nanoseconds, one a line, to the file that PRESENT_TIMES names. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

typedef struct SDL_Renderer SDL_Renderer;
typedef struct SDL_Window SDL_Window;

static void RecordPresent(void) {
    static FILE* times;
    static int opened;
    if (!opened) {
        const char* path = getenv("PRESENT_TIMES");
        times = path != NULL ? fopen(path, "w") : NULL;
        opened = 1;
    }
    if (times != NULL) {
        struct timespec now;
        clock_gettime(CLOCK_MONOTONIC, &now);
        fprintf(times, "%lld\n", (long long)now.tv_sec * 1000000000LL + now.tv_nsec);
    }
}

void SDL_RenderPresent(SDL_Renderer* renderer) {
    static void (*present)(SDL_Renderer*);
    if (present == NULL) {
        present = (void (*)(SDL_Renderer*))dlsym(RTLD_NEXT, "SDL_RenderPresent");
    }
    present(renderer);
    RecordPresent();
}

int SDL_UpdateWindowSurface(SDL_Window* window) {
    static int (*update)(SDL_Window*);
    if (update == NULL) {
        update = (int (*)(SDL_Window*))dlsym(RTLD_NEXT, "SDL_UpdateWindowSurface");
    }
    int result = update(window);
    RecordPresent();
    return result;
}
