/* A library for the library-call tests: exports taking 0 to 32 word arguments
   that return an order-dependent checksum of what they received, and a few
   probes. Written in C with plain undecorated exports, as a foreign library
   would be; the 32-bit build exports stdcall functions without the @n suffix. */
#include <windows.h>

#include <stdint.h>

#define EXPORT __declspec(dllexport)

static HMODULE self;

/* h starts at 0x1000 plus the argument count; each argument in order: h = h * 31 + a. */
static uintptr_t Mix(uintptr_t h, uintptr_t a) {
    return h * 31u + a;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    (void)reserved;
    if (reason == DLL_PROCESS_ATTACH)
        self = instance;
    return TRUE;
}

/* Counts its calls; the count lives as long as the library stays loaded. */
EXPORT uintptr_t WINAPI Counter(void) {
    static uintptr_t calls;
    return ++calls;
}

/* Writes this library's file path into buffer; returns its length. */
EXPORT uintptr_t WINAPI OwnPath(char *buffer, uintptr_t size) {
    return GetModuleFileNameA(self, buffer, (DWORD)size);
}

/* How far *counter moves in 200 ms once 20 ms have passed. */
EXPORT uintptr_t WINAPI ProbeHeld(volatile LONG *counter) {
    LONG first;
    Sleep(20);
    first = *counter;
    Sleep(200);
    return (uintptr_t)(*counter - first);
}

/* Pn: the parameter list a1 .. an; Mn: mixes a1 .. an into h in order. */
#define P1 uintptr_t a1
#define P2 P1, uintptr_t a2
#define P3 P2, uintptr_t a3
#define P4 P3, uintptr_t a4
#define P5 P4, uintptr_t a5
#define P6 P5, uintptr_t a6
#define P7 P6, uintptr_t a7
#define P8 P7, uintptr_t a8
#define P9 P8, uintptr_t a9
#define P10 P9, uintptr_t a10
#define P11 P10, uintptr_t a11
#define P12 P11, uintptr_t a12
#define P13 P12, uintptr_t a13
#define P14 P13, uintptr_t a14
#define P15 P14, uintptr_t a15
#define P16 P15, uintptr_t a16
#define P17 P16, uintptr_t a17
#define P18 P17, uintptr_t a18
#define P19 P18, uintptr_t a19
#define P20 P19, uintptr_t a20
#define P21 P20, uintptr_t a21
#define P22 P21, uintptr_t a22
#define P23 P22, uintptr_t a23
#define P24 P23, uintptr_t a24
#define P25 P24, uintptr_t a25
#define P26 P25, uintptr_t a26
#define P27 P26, uintptr_t a27
#define P28 P27, uintptr_t a28
#define P29 P28, uintptr_t a29
#define P30 P29, uintptr_t a30
#define P31 P30, uintptr_t a31
#define P32 P31, uintptr_t a32
#define M1 h = Mix(h, a1);
#define M2 M1 h = Mix(h, a2);
#define M3 M2 h = Mix(h, a3);
#define M4 M3 h = Mix(h, a4);
#define M5 M4 h = Mix(h, a5);
#define M6 M5 h = Mix(h, a6);
#define M7 M6 h = Mix(h, a7);
#define M8 M7 h = Mix(h, a8);
#define M9 M8 h = Mix(h, a9);
#define M10 M9 h = Mix(h, a10);
#define M11 M10 h = Mix(h, a11);
#define M12 M11 h = Mix(h, a12);
#define M13 M12 h = Mix(h, a13);
#define M14 M13 h = Mix(h, a14);
#define M15 M14 h = Mix(h, a15);
#define M16 M15 h = Mix(h, a16);
#define M17 M16 h = Mix(h, a17);
#define M18 M17 h = Mix(h, a18);
#define M19 M18 h = Mix(h, a19);
#define M20 M19 h = Mix(h, a20);
#define M21 M20 h = Mix(h, a21);
#define M22 M21 h = Mix(h, a22);
#define M23 M22 h = Mix(h, a23);
#define M24 M23 h = Mix(h, a24);
#define M25 M24 h = Mix(h, a25);
#define M26 M25 h = Mix(h, a26);
#define M27 M26 h = Mix(h, a27);
#define M28 M27 h = Mix(h, a28);
#define M29 M28 h = Mix(h, a29);
#define M30 M29 h = Mix(h, a30);
#define M31 M30 h = Mix(h, a31);
#define M32 M31 h = Mix(h, a32);
#define ARGS(n)                                                                                              \
    EXPORT uintptr_t WINAPI Args##n(P##n) {                                                                  \
        uintptr_t h = 0x1000 + n;                                                                            \
        M##n return h;                                                                                       \
    }

EXPORT uintptr_t WINAPI Args0(void) {
    return 0x1000;
}
ARGS(1)
ARGS(2)
ARGS(3)
ARGS(4)
ARGS(5)
ARGS(6)
ARGS(7)
ARGS(8)
ARGS(9)
ARGS(10)
ARGS(11)
ARGS(12)
ARGS(13)
ARGS(14)
ARGS(15)
ARGS(16)
ARGS(17)
ARGS(18)
ARGS(19)
ARGS(20)
ARGS(21)
ARGS(22)
ARGS(23)
ARGS(24)
ARGS(25)
ARGS(26)
ARGS(27)
ARGS(28)
ARGS(29)
ARGS(30)
ARGS(31)
ARGS(32)
