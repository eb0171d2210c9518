/* The fonts of the suite's Wine prefix, as GDI+ sees them. The displays ask
 * for "Arial" and fall back to GDI+'s generic sans-serif family; the prefix
 * has no Arial, so the altitude tags the pixel checks look for are drawn
 * through that fallback. Exit status 0 when GDI+ finds no Arial (not even
 * through a substitute) and does have a generic sans-serif family. */
#include <stdio.h>
#include <windows.h>

typedef struct {
    UINT32 version;
    void* debugCallback;
    BOOL suppressBackgroundThread;
    BOOL suppressExternalCodecs;
} StartupInput;

int WINAPI GdiplusStartup(ULONG_PTR* token, const StartupInput* input, void* output);
void WINAPI GdiplusShutdown(ULONG_PTR token);
int WINAPI GdipCreateFontFamilyFromName(const WCHAR* name, void* collection, void** family);
int WINAPI GdipGetGenericFontFamilySansSerif(void** family);
int WINAPI GdipGetFamilyName(void* family, WCHAR* name, LANGID language);
int WINAPI GdipDeleteFontFamily(void* family);

int main(void) {
    ULONG_PTR token = 0;
    StartupInput input = {1, NULL, FALSE, FALSE};
    if (GdiplusStartup(&token, &input, NULL) != 0) {
        printf("FAIL: GDI+ does not start\n");
        return 1;
    }
    void* arial = NULL;
    const int hasArial = GdipCreateFontFamilyFromName(L"Arial", NULL, &arial) == 0;
    if (arial != NULL) {
        GdipDeleteFontFamily(arial);
    }
    void* sans = NULL;
    WCHAR name[32] = {0};
    if (GdipGetGenericFontFamilySansSerif(&sans) == 0 && sans != NULL) {
        GdipGetFamilyName(sans, name, 0);
    }
    GdiplusShutdown(token);
    printf("Arial: %s; generic sans-serif family: \"%ls\"\n", hasArial ? "found" : "absent", name);
    if (hasArial) {
        printf("FAIL: the fallback check needs a prefix without Arial\n");
    }
    if (name[0] == 0) {
        printf("FAIL: GDI+ has no generic sans-serif family\n");
    }
    return hasArial || name[0] == 0 ? 1 : 0;
}
