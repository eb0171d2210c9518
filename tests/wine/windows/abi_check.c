/*
 * Binary-interface check of ContactScope.dll, written as the simulator's
 * panel system sees the module: no C++ class declaration of the module is
 * used. Every callback object is a pointer to a table of raw function
 * pointers; the host's member convention (thiscall: this in ecx, arguments on
 * the stack, callee cleans up) is spelled out with __fastcall and an unused
 * second register argument (ecx = this, edx = dummy). The services table is
 * this file's own array of 78 stdcall entries with 40, 75, 76 and 77 filled;
 * the traffic provider, the create-parameters and the draw-parameters objects
 * are C objects with their own tables.
 *
 * Every check prints one line; the exit code is the number of failed checks.
 */
#include <math.h>
#include <stdint.h>
#include <stdio.h>
#include <string.h>
#include <windows.h>

#define HOST_FN __fastcall

static int g_failed;
static int g_passed;

static void check(int ok, const char* what) {
    if (ok) {
        ++g_passed;
        printf("PASS %s\n", what);
    } else {
        ++g_failed;
        printf("FAIL %s\n", what);
    }
    fflush(stdout);
}

static int closeTo(double a, double b, double tolerance) {
    return fabs(a - b) <= tolerance;
}

/* ---- The module's objects: slot numbers of the host interfaces ---------- */

typedef void* Obj; /* address of an object whose first word is its table */

static void* slot(Obj object, int index) {
    return (*(void***)object)[index];
}

typedef uint32_t(HOST_FN* CountFn)(Obj self, void* edx);
typedef Obj(HOST_FN* QueryFn)(Obj self, void* edx, const char* name);
typedef uint32_t(HOST_FN* VersionFn)(Obj self, void* edx);
typedef Obj(HOST_FN* CreateAircraftFn)(Obj self, void* edx, uint32_t container);
typedef _Bool(HOST_FN* NameToIdFn)(Obj self, void* edx, const char* name, int32_t* id);
typedef _Bool(HOST_FN* IdToNameFn)(Obj self, void* edx, int32_t id, char** buffer);
typedef _Bool(HOST_FN* KindFn)(Obj self, void* edx, int32_t id, int32_t* kind);
typedef Obj(HOST_FN* CreateGaugeFn)(Obj self, void* edx);
typedef void(HOST_FN* VoidFn)(Obj self, void* edx);
typedef _Bool(HOST_FN* GetTextFn)(Obj self, void* edx, int32_t id, const char** text);
typedef _Bool(HOST_FN* GetNumberFn)(Obj self, void* edx, int32_t id, double* value);
typedef _Bool(HOST_FN* SetTextFn)(Obj self, void* edx, int32_t id, const char* text);
typedef _Bool(HOST_FN* SetNumberFn)(Obj self, void* edx, int32_t id, double value);
typedef Obj(HOST_FN* CreateDrawableFn)(Obj self, void* edx, int32_t id, Obj params);
typedef void(HOST_FN* IgnoredFn)(Obj self, void* edx, uint32_t argument);
typedef _Bool(HOST_FN* DrawFn)(Obj self, void* edx, Obj params, int32_t width, int32_t height,
                               HDC dc, void* image);
typedef _Bool(HOST_FN* SetupDrawFn)(Obj self, void* edx, int32_t width, int32_t height, HDC dc,
                                    void* image);
typedef _Bool(HOST_FN* GetDrawFn)(Obj self, void* edx, Obj params);

static uint32_t addRef(Obj o) {
    return ((CountFn)slot(o, 0))(o, 0);
}
static uint32_t release(Obj o) {
    return ((CountFn)slot(o, 1))(o, 0);
}
static Obj query(Obj o, const char* name) {
    return ((QueryFn)slot(o, 2))(o, 0, name);
}

/* ---- Host side: the services table ------------------------------------- */

static double g_ticks;
static double g_time;

/* The 28-byte variable record, read through offsets so that no structure
 * packing of this compiler is trusted: token at 0, value at 12. */
static void __stdcall svcRefreshVariable(unsigned char* record) {
    int32_t token;
    memcpy(&token, record, 4);
    double value = token == 1 ? g_ticks : token == 604 ? g_time : 0.0;
    memcpy(record + 12, &value, 8);
}

#define MAX_REGISTRY 8
static struct {
    char name[32];
    Obj callback;
} g_registry[MAX_REGISTRY];
static int g_registerCalls;
static char g_registerLog[16][32];
static Obj g_registerLogObj[16];
static uint32_t g_lastUnregisterCount = 99; /* what the host's release returned */

static Obj registryFind(const char* name) {
    for (int i = 0; i < MAX_REGISTRY; ++i) {
        if (g_registry[i].callback != 0 && strcmp(g_registry[i].name, name) == 0) {
            return g_registry[i].callback;
        }
    }
    return 0;
}

/* Like the simulator, the host holds a reference on each registered callback
 * and gives it up on unregistration. */
static int32_t __stdcall svcRegisterPanelCallback(const char* name, Obj callback) {
    if (g_registerCalls < 16) {
        snprintf(g_registerLog[g_registerCalls], 32, "%s", name ? name : "(null)");
        g_registerLogObj[g_registerCalls] = callback;
    }
    ++g_registerCalls;
    if (name == 0) {
        return 0;
    }
    for (int i = 0; i < MAX_REGISTRY; ++i) {
        if (g_registry[i].callback != 0 && strcmp(g_registry[i].name, name) == 0) {
            g_lastUnregisterCount = release(g_registry[i].callback);
            g_registry[i].callback = 0;
        }
    }
    if (callback == 0) {
        return 1;
    }
    for (int i = 0; i < MAX_REGISTRY; ++i) {
        if (g_registry[i].callback == 0) {
            snprintf(g_registry[i].name, sizeof g_registry[i].name, "%s", name);
            g_registry[i].callback = callback;
            addRef(callback);
            return 1;
        }
    }
    return 0;
}

/* ---- Host side: the traffic provider ------------------------------------ */

/* Variables by name, in the host's own id space. */
static const char* const kVarNames[] = {
    "PLANE LATITUDE",   "PLANE LONGITUDE",  "PLANE ALTITUDE",   "INDICATED ALTITUDE",
    "VELOCITY WORLD Y", "VELOCITY WORLD Z", "VELOCITY WORLD X", "PLANE HEADING DEGREES TRUE",
    "ATC ID",           "ENG COMBUSTION",   "IS USER SIM",      "PLANE ALT ABOVE GROUND"};
enum { VLat, VLon, VAlt, VIndAlt, VVy, VVz, VVx, VHdg, VAtc, VEng, VUser, VAgl, VCount };
static const char* const kUnitNames[] = {"FEET", "BOOL", "DEGREES", "KNOTS", "FEET PER MINUTE"};
enum { UFeet, UBool, UDeg, UKnots, UFpm, UCount };
static const int kVarUnit[VCount] = {UDeg,   UDeg, UFeet, UFeet, UFpm,  UKnots,
                                     UKnots, UDeg, -1,    UBool, UBool, UFeet};
#define VAR_ID(v) (300 + (v))
#define UNIT_ID(u) (700 + (u))

static int g_badReads; /* reads whose arguments arrived garbled */
static int g_readNumbers;
static int g_readStrings;
static int g_listCalls;
static uint32_t g_lastCapacity;
static double g_lastRadius;

/* Own aircraft (id 1) parked at 47 N 8 E, 10000 ft; the intruder (id 2)
 * 0.2 nm east of the own meridian, coming south at 300 kt, level. */
static const double kOwnLat = 47.0, kOwnLon = 8.0, kAlt = 10000.0;
static double intruderNorthNm(void) {
    return 1.5 - 300.0 * g_time / 3600.0;
}
static const double kIntruderEastNm = 0.2;

static double aircraftValue(int32_t id, int var) {
    int own = id == 1;
    switch (var) {
        case VLat:
            return own ? kOwnLat : kOwnLat + intruderNorthNm() / 60.0;
        case VLon:
            return own ? kOwnLon
                       : kOwnLon + kIntruderEastNm / 60.0 / cos(kOwnLat / 57.29577951308232);
        case VAlt:
        case VIndAlt:
            return kAlt;
        case VVy:
            return 0.0;
        case VVz:
            return own ? 0.0 : -300.0;
        case VVx:
            return 0.0;
        case VHdg:
            return own ? 0.0 : 180.0;
        case VEng:
            return 1.0;
        case VUser:
            return own ? 1.0 : 0.0;
        case VAgl:
            return 1000.0;
        default:
            return 0.0;
    }
}

static int varOfId(int32_t id) {
    return id >= VAR_ID(0) && id < VAR_ID(VCount) ? id - 300 : -1;
}

static double __stdcall svcReadUserVariable(int32_t variableId, int32_t unitId, int32_t index) {
    int var = varOfId(variableId);
    if (var < 0 || index != 0 || kVarUnit[var] < 0 || unitId != UNIT_ID(kVarUnit[var])) {
        ++g_badReads;
        return 0.0;
    }
    return aircraftValue(1, var);
}

static Obj __stdcall svcFindPanelCallback(const char* name);

typedef struct {
    void** table;
} CObject;

static uint32_t HOST_FN tiRefCount(CObject* self, void* edx) {
    (void)self;
    (void)edx;
    return 1;
}
static void HOST_FN tiUnexpected(CObject* self, void* edx) {
    (void)self;
    (void)edx;
    ++g_badReads;
}
static int32_t HOST_FN tiVariableId(CObject* self, void* edx, const char* name) {
    (void)self;
    (void)edx;
    for (int v = 0; v < VCount; ++v) {
        if (name && strcmp(name, kVarNames[v]) == 0) {
            return VAR_ID(v);
        }
    }
    return -1;
}
static int32_t HOST_FN tiUnitId(CObject* self, void* edx, const char* name) {
    (void)self;
    (void)edx;
    for (int u = 0; u < UCount; ++u) {
        if (name && strcmp(name, kUnitNames[u]) == 0) {
            return UNIT_ID(u);
        }
    }
    return -1;
}
static uint32_t HOST_FN tiList(CObject* self, void* edx, double radiusMetres, uint32_t capacity,
                               uint32_t* ids) {
    (void)self;
    (void)edx;
    ++g_listCalls;
    g_lastCapacity = capacity;
    g_lastRadius = radiusMetres;
    uint32_t n = 0;
    if (n < capacity)
        ids[n++] = 1; /* the simulator lists the own aircraft first */
    if (n < capacity)
        ids[n++] = 2;
    return n;
}
static int32_t HOST_FN tiReadNumber(CObject* self, void* edx, int32_t aircraft, int32_t variable,
                                    int32_t unit, double* value, int32_t one) {
    (void)self;
    (void)edx;
    ++g_readNumbers;
    int var = varOfId(variable);
    if (var < 0 || kVarUnit[var] < 0 || unit != UNIT_ID(kVarUnit[var]) || one != 1 || value == 0 ||
        (aircraft != 1 && aircraft != 2)) {
        ++g_badReads;
        return 0;
    }
    *value = aircraftValue(aircraft, var);
    return 1;
}
static int32_t HOST_FN tiReadString(CObject* self, void* edx, int32_t aircraft, int32_t variable,
                                    char* buffer, int32_t capacity, int32_t zero) {
    (void)self;
    (void)edx;
    ++g_readStrings;
    if (variable != VAR_ID(VAtc) || capacity != 10 || zero != 0 || buffer == 0) {
        ++g_badReads;
        return 0;
    }
    snprintf(buffer, (size_t)capacity, "%s", aircraft == 1 ? "OWN" : "ABI2");
    return 1;
}
static int32_t HOST_FN tiMode(CObject* self, void* edx) {
    (void)self;
    (void)edx;
    return 0;
}
static const char* HOST_FN tiName(CObject* self, void* edx, int32_t aircraft) {
    (void)self;
    (void)edx;
    return aircraft == 1 ? "OWN" : "ABI2";
}

static void* g_trafficInfoTable[17];
static CObject g_trafficInfo = {g_trafficInfoTable};

static CObject* HOST_FN tpQuery(CObject* self, void* edx, const char* name) {
    (void)self;
    (void)edx;
    return name && strcmp(name, "ITrafficInfo") == 0 ? &g_trafficInfo : 0;
}
static void* g_providerTable[3] = {(void*)tiRefCount, (void*)tiRefCount, (void*)tpQuery};
static CObject g_provider = {g_providerTable};

static Obj __stdcall svcFindPanelCallback(const char* name) {
    if (name == 0) {
        return 0;
    }
    if (strcmp(name, "ITrafficInfo") == 0) {
        return &g_provider;
    }
    return registryFind(name);
}

static void* g_services[78];

/* ---- Host side: create-parameters and draw-parameters objects ---------- */

typedef struct {
    char name[32];
    int32_t id;
    int32_t type;
} Declaration;
static Declaration g_declared[40];
static int g_declaredCount;
static int g_unexpectedParamCalls;

static _Bool HOST_FN cpDeclare(CObject* self, void* edx, const char* name, int32_t id,
                               int32_t type) {
    (void)self;
    (void)edx;
    if (g_declaredCount < 40) {
        snprintf(g_declared[g_declaredCount].name, 32, "%s", name ? name : "(null)");
        g_declared[g_declaredCount].id = id;
        g_declared[g_declaredCount].type = type;
    }
    ++g_declaredCount;
    return 1;
}
static uint32_t HOST_FN cpUnexpected(CObject* self, void* edx) {
    (void)self;
    (void)edx;
    ++g_unexpectedParamCalls;
    return 0;
}
static void* g_createParamsTable[5] = {(void*)cpUnexpected, (void*)cpUnexpected,
                                       (void*)cpUnexpected, (void*)cpUnexpected, (void*)cpDeclare};
static CObject g_createParams = {g_createParamsTable};

/* The gauge supplies Range 5 nm and SymbolSize 4; everything else is left to
 * the module's defaults (the read leaves the destination untouched). */
static int g_intReads, g_realReads, g_stringReads, g_scaleReads;
static _Bool HOST_FN dpReadInteger(CObject* self, void* edx, int32_t id, int32_t* value) {
    (void)self;
    (void)edx;
    (void)id;
    ++g_intReads;
    if (value == 0)
        ++g_badReads;
    return 0;
}
static _Bool HOST_FN dpReadReal(CObject* self, void* edx, int32_t id, double* value) {
    (void)self;
    (void)edx;
    ++g_realReads;
    if (value == 0) {
        ++g_badReads;
        return 0;
    }
    if (id == 0) {
        *value = 5.0;
        return 1;
    }
    if (id == 12) {
        *value = 4.0;
        return 1;
    }
    return 0;
}
static _Bool HOST_FN dpReadString(CObject* self, void* edx, int32_t id, const char** value) {
    (void)self;
    (void)edx;
    (void)id;
    ++g_stringReads;
    if (value == 0)
        ++g_badReads;
    return 0;
}
static double HOST_FN dpScale(CObject* self, void* edx) {
    (void)self;
    (void)edx;
    ++g_scaleReads;
    return 1.0;
}
static void* g_drawParamsTable[6] = {(void*)cpUnexpected, (void*)dpReadInteger, (void*)dpReadReal,
                                     (void*)dpReadString, (void*)dpScale,       (void*)dpScale};
static CObject g_drawParams = {g_drawParamsTable};

/* ---- A DIB section to draw into ----------------------------------------- */

enum { kCanvas = 200 };
static HDC g_dc;
static uint32_t* g_bits;

static int makeCanvas(void) {
    BITMAPINFO info;
    memset(&info, 0, sizeof info);
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = kCanvas;
    info.bmiHeader.biHeight = -kCanvas;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    g_dc = CreateCompatibleDC(0);
    void* bits = 0;
    HBITMAP bitmap = CreateDIBSection(g_dc, &info, DIB_RGB_COLORS, &bits, 0, 0);
    if (g_dc == 0 || bitmap == 0 || bits == 0) {
        return 0;
    }
    SelectObject(g_dc, bitmap);
    g_bits = (uint32_t*)bits;
    for (int i = 0; i < kCanvas * kCanvas; ++i) g_bits[i] = 0xFF808080u; /* grey: not drawn */
    return 1;
}
static uint32_t rgbAt(int x, int y) {
    GdiFlush();
    return g_bits[y * kCanvas + x] & 0xFFFFFFu;
}

/* ---- Expected draw-parameter declarations -------------------------------- */

static const Declaration kExpected[29] = {{"Range", 0, 2},
                                          {"Heading", 1, 2},
                                          {"Brightness", 2, 3},
                                          {"OtherColour", 3, 3},
                                          {"ProximityColour", 4, 3},
                                          {"TAColour", 5, 3},
                                          {"RAColour", 6, 3},
                                          {"AntiAlias", 7, 3},
                                          {"MaxRange", 8, 2},
                                          {"MaxNumAct", 9, 2},
                                          {"CenterX", 10, 2},
                                          {"CenterY", 11, 2},
                                          {"SymbolSize", 12, 2},
                                          {"OtherDetail", 13, 3},
                                          {"ProximityDetail", 14, 3},
                                          {"TADetail", 15, 3},
                                          {"RADetail", 16, 3},
                                          {"FixedResolution", 17, 3},
                                          {"PadSymbols", 18, 3},
                                          {"Font", 19, 4},
                                          {"OtherMinRAlt", 20, 2},
                                          {"OtherAboveAlt", 21, 2},
                                          {"OtherBelowAlt", 22, 2},
                                          {"ProximityRange", 23, 2},
                                          {"ProximityAboveAlt", 24, 2},
                                          {"ProximityBelowAlt", 25, 2},
                                          {"MaxDispNumAct", 26, 3},
                                          {"InactiveColour", 3, 3},
                                          {"StandardColour", 4, 3}};

static int declarationsMatch(void) {
    if (g_declaredCount != 29)
        return 0;
    for (int i = 0; i < 29; ++i) {
        if (strcmp(g_declared[i].name, kExpected[i].name) != 0 ||
            g_declared[i].id != kExpected[i].id || g_declared[i].type != kExpected[i].type) {
            printf("  declaration %d: got %s %d %d\n", i, g_declared[i].name, g_declared[i].id,
                   g_declared[i].type);
            return 0;
        }
    }
    return 1;
}

/* ---- The checks --------------------------------------------------------- */

typedef void(__cdecl* RoutineFn)(void);

typedef struct {
    uint32_t identifier;
    void* start;
    void* stop;
    uint32_t zero1, zero2, linkVersion;
    void* gaugeList;
} Linkage32;

static void checkPanelCallback(Obj panel, int variant) {
    char what[128];
#define CHECKF(cond, ...)                         \
    do {                                          \
        snprintf(what, sizeof what, __VA_ARGS__); \
        check((cond), what);                      \
    } while (0)
    const char* reg = variant == 0 ? "va9vedored" : "ContactScope";
    CHECKF(((VersionFn)slot(panel, 3))(panel, 0) == 0x20001u, "%s: slot 3 answers 0x20001", reg);
    CHECKF(query(panel, "VA9VEDORED") == panel, "%s: query \"VA9VEDORED\" gives itself", reg);
    CHECKF(query(panel, "ContactScope") == 0, "%s: query \"ContactScope\" gives null", reg);
    CHECKF(query(panel, 0) == 0, "%s: query null gives null", reg);

    uint32_t before = addRef(panel);
    CHECKF(release(panel) == before - 1, "%s: addRef/release return the new count (%u)", reg,
           (unsigned)before);

    NameToIdFn nameToId = (NameToIdFn)slot(panel, 5);
    int32_t id = -7;
    CHECKF(nameToId(panel, 0, "TCASRange", &id) && id == 2, "%s: \"TCASRange\" -> 2", reg);
    id = -7;
    CHECKF(nameToId(panel, 0, "advisoryRadAlt", &id) && id == 29, "%s: \"advisoryRadAlt\" -> 29",
           reg);
    id = -7;
    if (variant == 0) {
        CHECKF(nameToId(panel, 0, "TCAS", &id) && id == 1, "%s: \"TCAS\" -> 1", reg);
        id = -7;
        CHECKF(nameToId(panel, 0, "radar", &id) && id == 0, "%s: \"radar\" -> 0", reg);
    } else {
        CHECKF(nameToId(panel, 0, "tcas", &id) && id == 0, "%s: \"tcas\" -> 0", reg);
        id = -7;
        CHECKF(!nameToId(panel, 0, "radar", &id) && id == -7,
               "%s: \"radar\" is no name, id untouched", reg);
    }
    CHECKF(!nameToId(panel, 0, "range", 0), "%s: name to id with null out-address fails", reg);

    IdToNameFn idToName = (IdToNameFn)slot(panel, 6);
    char buffer[32];
    char* bufferPointer = buffer;
    memset(buffer, 'x', sizeof buffer);
    CHECKF(idToName(panel, 0, 19, &bufferPointer) && strcmp(buffer, "toolTipTrackAngle") == 0,
           "%s: id 19 -> \"toolTipTrackAngle\"", reg);
    CHECKF(idToName(panel, 0, 0, &bufferPointer) && strcmp(buffer, "radar") == 0,
           "%s: id 0 -> \"radar\"", reg);
    memset(buffer, 'x', sizeof buffer);
    CHECKF(!idToName(panel, 0, 30, &bufferPointer) && buffer[0] == 'x',
           "%s: id 30 -> false, nothing written", reg);

    KindFn kind = (KindFn)slot(panel, 7);
    int32_t k = 0;
    CHECKF(kind(panel, 0, 6, &k) && k == -2, "%s: kind of 6 is -2 (text)", reg);
    CHECKF(kind(panel, 0, 0, &k) && k == -1, "%s: kind of 0 is -1 (number)", reg);
    k = 5;
    CHECKF(!kind(panel, 0, 30, &k) && k == -1, "%s: kind of 30 -> -1 and false", reg);
}

int main(int argc, char** argv) {
    const char* path = argc > 1 ? argv[1] : "ContactScope.dll";
    int viaPanels = argc > 2 && strcmp(argv[2], "panels") == 0;
    char what[160];

    for (int i = 0; i < 17; ++i) g_trafficInfoTable[i] = (void*)tiUnexpected;
    g_trafficInfoTable[0] = (void*)tiRefCount;
    g_trafficInfoTable[1] = (void*)tiRefCount;
    g_trafficInfoTable[2] = (void*)tpQuery;
    g_trafficInfoTable[8] = (void*)tiVariableId;
    g_trafficInfoTable[9] = (void*)tiUnitId;
    g_trafficInfoTable[10] = (void*)tiList;
    g_trafficInfoTable[12] = (void*)tiReadNumber;
    g_trafficInfoTable[13] = (void*)tiReadString;
    g_trafficInfoTable[15] = (void*)tiMode;
    g_trafficInfoTable[16] = (void*)tiName;
    g_services[40] = (void*)svcRefreshVariable;
    g_services[75] = (void*)svcReadUserVariable;
    g_services[76] = (void*)svcRegisterPanelCallback;
    g_services[77] = (void*)svcFindPanelCallback;

    HMODULE module = LoadLibraryA(path);
    check(module != 0, "LoadLibrary of the module");
    if (module == 0) {
        printf("cannot load %s (error %lu)\n", path, (unsigned long)GetLastError());
        return g_failed;
    }

    /* Exports by name and by ordinal, and the records as the loader mapped them. */
    RoutineFn start = (RoutineFn)GetProcAddress(module, "DLLStart");
    RoutineFn stop = (RoutineFn)GetProcAddress(module, "DLLStop");
    void*** panels = (void***)GetProcAddress(module, "Panels");
    uint32_t* import = (uint32_t*)GetProcAddress(module, "ImportTable");
    Linkage32* linkage = (Linkage32*)GetProcAddress(module, "Linkage");
    check(start && stop && panels && import && linkage, "the five exports are found by name");
    if (!(start && stop && panels && import && linkage)) {
        return g_failed;
    }
    check((void*)GetProcAddress(module, MAKEINTRESOURCEA(1)) == (void*)start &&
              (void*)GetProcAddress(module, MAKEINTRESOURCEA(2)) == (void*)stop &&
              (void*)GetProcAddress(module, MAKEINTRESOURCEA(3)) == (void*)panels &&
              (void*)GetProcAddress(module, MAKEINTRESOURCEA(4)) == (void*)import &&
              (void*)GetProcAddress(module, MAKEINTRESOURCEA(5)) == (void*)linkage,
          "ordinals 1..5 are DLLStart, DLLStop, Panels, ImportTable, Linkage");
    check(*panels == 0, "Panels is null at load");
    check(import[0] == 15 && import[1] == 0 && import[2] == 0 && import[3] == 0,
          "ImportTable at load: 15, null, 0, null");
    check(linkage->identifier == 729 && linkage->start == (void*)start &&
              linkage->stop == (void*)stop && linkage->zero1 == 0 && linkage->zero2 == 0 &&
              linkage->linkVersion == 0x900 && linkage->gaugeList == 0,
          "Linkage: 729, DLLStart, DLLStop, 0, 0, 0x900, empty gauge list (relocated)");

    /* Hand over the services, then start. */
    if (viaPanels) {
        *panels = g_services;
    } else {
        import[1] = (uint32_t)(uintptr_t)g_services;
    }
    start();
    check(import[1] == (uint32_t)(uintptr_t)g_services,
          viaPanels ? "DLLStart copied Panels into ImportTable" : "ImportTable keeps the table");
    Obj va9 = registryFind("va9vedored");
    Obj scope = registryFind("ContactScope");
    check(g_registerCalls == 2 && va9 != 0 && scope != 0 && va9 != scope &&
              strcmp(g_registerLog[0], "va9vedored") == 0 &&
              strcmp(g_registerLog[1], "ContactScope") == 0,
          "DLLStart registers \"va9vedored\" then \"ContactScope\"");
    start();
    check(g_registerCalls == 2, "a second DLLStart registers nothing more");
    if (va9 == 0 || scope == 0) {
        return g_failed;
    }
    checkPanelCallback(va9, 0);
    checkPanelCallback(scope, 1);

    /* Aircraft callback. */
    Obj aircraft = ((CreateAircraftFn)slot(va9, 4))(va9, 0, 0x1234u);
    check(aircraft != 0, "panel slot 4 creates an aircraft callback");
    if (aircraft == 0)
        return g_failed;
    check(addRef(aircraft) == 2 && release(aircraft) == 1,
          "aircraft callback starts at one reference");
    check(query(aircraft, "va9VEDored") == aircraft, "aircraft query by name gives itself");
    ((VoidFn)slot(aircraft, 4))(aircraft, 0);
    check(1, "aircraft slot 4 (no operation) returns");

    /* Gauge callback and its properties. */
    Obj gauge = ((CreateGaugeFn)slot(aircraft, 3))(aircraft, 0);
    check(gauge != 0, "aircraft slot 3 creates a gauge callback");
    if (gauge == 0)
        return g_failed;
    GetTextFn getText = (GetTextFn)slot(gauge, 4);
    GetNumberFn getNumber = (GetNumberFn)slot(gauge, 5);
    SetTextFn setText = (SetTextFn)slot(gauge, 6);
    SetNumberFn setNumber = (SetNumberFn)slot(gauge, 7);
    CreateDrawableFn createDrawable = (CreateDrawableFn)slot(gauge, 8);
    check(query(gauge, "VA9VEDORED") == gauge, "gauge query by name gives itself");
    ((VoidFn)slot(gauge, 3))(gauge, 0);
    double value = -1.0;
    check(getNumber(gauge, 0, 2, &value) && value == 15.0, "fresh gauge: range 15");
    check(getNumber(gauge, 0, 3, &value) && value == 255.0, "fresh gauge: brightness 255");
    check(getNumber(gauge, 0, 8, &value) && value == 35.0, "fresh gauge: timeSeparationTA 35");
    check(getNumber(gauge, 0, 11, &value) && closeTo(value, 0.1, 1e-15),
          "fresh gauge: distSeparationRA 0.1");
    check(setNumber(gauge, 0, 3, 127.9) && getNumber(gauge, 0, 3, &value) && value == 127.0,
          "brightness 127.9 is stored truncated (double argument on the stack)");
    check(setNumber(gauge, 0, 3, 255.0), "brightness back to 255");
    check(setNumber(gauge, 0, 13, 321.5) && getNumber(gauge, 0, 13, &value) && value == 321.5,
          "altSeparationRA written and read back");
    check(setNumber(gauge, 0, 13, 300.0), "altSeparationRA back to 300");
    check(!setNumber(gauge, 0, 7, 1.0), "advisory is read-only");
    check(!getNumber(gauge, 0, 6, &value) && !getNumber(gauge, 0, 30, &value),
          "no number for a text id or id 30");
    const char* text = "unset";
    check(getText(gauge, 0, 6, &text) && text != 0 && text[0] == 0, "toolTip is empty");
    check(getText(gauge, 0, 21, &text) && text != 0 && text[0] == 0, "advisoryId is empty");
    check(!getText(gauge, 0, 2, &text), "no text for a number id");
    check(!setText(gauge, 0, 6, "x"), "text properties are read-only");

    /* Drawables: declarations, then a TCAS display through update and draw. */
    g_declaredCount = 0;
    Obj none = createDrawable(gauge, 0, 2, &g_createParams);
    check(none == 0 && declarationsMatch(), "kind 2: 29 declarations, no drawable");
    check(createDrawable(gauge, 0, 5, 0) == 0, "kind 5 without a declaration object: none");
    g_declaredCount = 0;
    g_ticks = 0.0;
    g_time = 0.0;
    Obj tcas = createDrawable(gauge, 0, 1, &g_createParams);
    check(tcas != 0, "kind 1 creates the TCAS drawable");
    snprintf(what, sizeof what, "29 draw-parameter declarations in order (got %d)",
             g_declaredCount);
    check(declarationsMatch(), what);
    if (tcas == 0)
        return g_failed;
    check(((CountFn)slot(tcas, 2))(tcas, 0) == 1, "drawable flags are 1");
    check(addRef(tcas) == 2 && release(tcas) == 1, "drawable starts at one reference");
    ((IgnoredFn)slot(tcas, 4))(tcas, 0, 77u);
    check(!((SetupDrawFn)slot(tcas, 6))(tcas, 0, 10, 10, g_dc, 0), "drawable slot 6 answers false");
    check(!((GetDrawFn)slot(tcas, 7))(tcas, 0, &g_drawParams), "drawable slot 7 answers false");

    VoidFn update = (VoidFn)slot(tcas, 3);
    DrawFn draw = (DrawFn)slot(tcas, 5);
    g_ticks = 10.0;
    update(tcas, 0);
    check(g_listCalls == 0, "no traffic cycle before 18 ticks");
    g_ticks = 18.0;
    g_time = 1.0;
    update(tcas, 0);
    check(g_listCalls == 1 && g_lastCapacity == 100 &&
              closeTo(g_lastRadius, 40.0 * 1851.8518518518517, 1e-6),
          "cycle at 18 ticks: 100 ids within 40 nm (in metres)");
    g_ticks = 36.0;
    g_time = 2.0;
    update(tcas, 0);
    check(g_listCalls == 2, "second cycle at 36 ticks");
    check(g_readNumbers > 0 && g_readStrings > 0 && g_badReads == 0,
          "every traffic read arrived with matching variable, unit and fixed arguments");

    check(makeCanvas(), "DIB section canvas");
    check(draw(tcas, 0, &g_drawParams, kCanvas, kCanvas, g_dc, 0), "first draw paints a frame");
    check(g_intReads > 0 && g_realReads > 0 && g_stringReads == 1 && g_scaleReads >= 2 &&
              g_unexpectedParamCalls == 0 && g_badReads == 0,
          "draw read its parameters through slots 1 to 5 only");
    check(getNumber(gauge, 0, 7, &value) && value == 2.0, "advisory is RA (2)");
    check(getText(gauge, 0, 21, &text) && text && strcmp(text, "ABI2") == 0,
          "advisoryId is \"ABI2\"");
    double north = intruderNorthNm();
    double expectedDist = sqrt(north * north + kIntruderEastNm * kIntruderEastNm);
    check(getNumber(gauge, 0, 23, &value) && closeTo(value, expectedDist, 0.01), "advisoryDist");
    check(getNumber(gauge, 0, 27, &value) && closeTo(value, 300.0, 1e-6),
          "advisoryGroundSpeed 300");
    check(getNumber(gauge, 0, 26, &value) && closeTo(value, 180.0, 1e-6), "advisoryTrackAngle 180");

    /* Range 5 nm over 100 px: 0.05 nm per pixel; symbol size 4, RA square 12 px. */
    int cx = kCanvas / 2, cy = kCanvas / 2;
    int sx = cx + (int)lround(kIntruderEastNm / 0.05);
    int sy = cy - (int)lround(north / 0.05);
    uint32_t at = rgbAt(sx, sy);
    snprintf(what, sizeof what, "RA symbol at (%d, %d) is red (got %06X)", sx, sy, (unsigned)at);
    check(at == 0xFF0000u, what);
    check(rgbAt(cx, cy) == 0 && rgbAt(3, 3) == 0 && rgbAt(kCanvas - 3, kCanvas - 3) == 0,
          "black background, nothing at the own aircraft's place");
    check(!draw(tcas, 0, &g_drawParams, kCanvas, kCanvas, g_dc, 0),
          "a draw with nothing new paints no frame");

    /* Hover: mouse on the symbol, then a brightness change forces a frame. */
    check(setNumber(gauge, 0, 4, (double)sx / kCanvas) &&
              setNumber(gauge, 0, 5, (double)sy / kCanvas),
          "mouse position written");
    check(setNumber(gauge, 0, 3, 254.0), "brightness 254");
    check(draw(tcas, 0, &g_drawParams, kCanvas, kCanvas, g_dc, 0), "brightness change redraws");
    check(getText(gauge, 0, 14, &text) && text && strcmp(text, "ABI2") == 0,
          "toolTipId is \"ABI2\"");
    check(getText(gauge, 0, 6, &text) && text &&
              strncmp(text, "ID: ABI2 ALT: 0ft GS: 300kt TRK: 180", 36) == 0,
          "toolTip text formatted");
    check(rgbAt(sx, sy) == 0xFE0000u, "symbol dimmed by brightness 254");

    check(release(tcas) == 0, "drawable released to zero");
    check(release(gauge) == 0, "gauge callback released to zero");
    check(release(aircraft) == 0, "aircraft callback released to zero");

    /* Stop: the module gives up its references and removes both names. */
    uint32_t va9Count = addRef(va9);
    release(va9);
    check(va9Count == 3, "before stop: the module's and the host's reference (addRef gives 3)");
    int callsBefore = g_registerCalls;
    g_lastUnregisterCount = 99;
    stop();
    check(g_registerCalls == callsBefore + 2 &&
              strcmp(g_registerLog[callsBefore], "va9vedored") == 0 &&
              g_registerLogObj[callsBefore] == 0 &&
              strcmp(g_registerLog[callsBefore + 1], "ContactScope") == 0 &&
              g_registerLogObj[callsBefore + 1] == 0,
          "DLLStop unregisters \"va9vedored\" and \"ContactScope\"");
    check(registryFind("va9vedored") == 0 && registryFind("ContactScope") == 0,
          "both names gone from the registry");
    check(g_lastUnregisterCount == 0,
          "the module released its own reference once: the host's release destroyed it");
    stop();
    check(g_registerCalls == callsBefore + 4, "a second DLLStop unregisters both names again");
    start();
    check(registryFind("va9vedored") != 0 && registryFind("ContactScope") != 0,
          "a start after stop registers new callbacks");
    stop();

    FreeLibrary(module);
    printf("%d passed, %d failed\n", g_passed, g_failed);
    return g_failed;
}
