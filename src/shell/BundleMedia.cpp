#include "shell/BundleMedia.h"

#include "platform/Application.h"
#include "platform/FolderItem.h"

namespace {

// The Resources folder beside the executable's MacOS folder, looked up anew
// at every load.
tk::FolderItem ResourcesFolder() { return tk::ExecutableFile().Parent().Parent().Child("Resources"); }

// A folder that does not exist is no folder.
bool NoFolder(const tk::FolderItem& f) { return f.IsNil() || !f.Directory(); }

// A picture that failed to load is tried again at its next use; once it has
// loaded, its file is never read again.
struct CachedPicture {
    explicit CachedPicture(const char* f) : file(f) {}
    const char* file;
    tk::Picture pic;

    tk::Picture Get() {
        if (pic) return pic;
        const tk::FolderItem res = ResourcesFolder();
        if (NoFolder(res)) return pic;
        pic = res.Child(file).OpenAsPicture();
        return pic;
    }
};

// A sound is tried once per run.
struct CachedSound {
    explicit CachedSound(const char* f) : file(f) {}
    const char* file;
    bool loaded = false;
    tk::Sound permaSound;

    tk::Sound Get() {
        if (!loaded) {
            loaded = true;
            const tk::FolderItem res = ResourcesFolder();
            if (!NoFolder(res)) permaSound = res.Child(file).OpenAsSound();
        }
        return permaSound;
    }
};

CachedPicture g_logo{"tickmoorLogo.bmp"};
CachedPicture g_nineRoman{"NineRoman.bmp"};
CachedPicture g_standard{"exSel_Standard.bmp"};
CachedPicture g_roman{"exSel_Roman.bmp"};
CachedPicture g_modern{"exSel_Modern.bmp"};
CachedPicture g_wordProb{"pWordProb.bmp"};
CachedPicture g_banner{"pResultsBanner.bmp"};
CachedPicture g_star{"pAwardStarPrint.bmp"};

CachedSound g_correct{"CorrectAnswer.wav"};
CachedSound g_wrong{"WrongAnswer.wav"};
CachedSound g_beep{"myBeep.wav"};
CachedSound g_chime{"chime.wav"};

}  // namespace

tk::Picture tickmoorLogo() { return g_logo.Get(); }
tk::Picture NineRoman() { return g_nineRoman.Get(); }
tk::Picture exSel_Standard() { return g_standard.Get(); }
tk::Picture exSel_Roman() { return g_roman.Get(); }
tk::Picture exSel_Modern() { return g_modern.Get(); }
tk::Picture pWordProb() { return g_wordProb.Get(); }
tk::Picture pResultsBanner() { return g_banner.Get(); }
tk::Picture pAwardStarPrint() { return g_star.Get(); }

tk::Sound CorrectAnswer() { return g_correct.Get(); }
tk::Sound WrongAnswer() { return g_wrong.Get(); }
tk::Sound myBeep() { return g_beep.Get(); }
tk::Sound chime() { return g_chime.Get(); }

namespace shell {

void ClickWait() {
    const tk::Sound click = myBeep();
    click.Play();
    while (click.IsPlaying()) tk::Yield();
}

void ReleaseSounds() {
    for (CachedSound* s : {&g_correct, &g_wrong, &g_beep, &g_chime}) s->permaSound = tk::Sound();
}

void ForgetMediaForTests() {
    for (CachedPicture* p : {&g_logo, &g_nineRoman, &g_standard, &g_roman, &g_modern, &g_wordProb,
                             &g_banner, &g_star})
        *p = CachedPicture(p->file);
    for (CachedSound* s : {&g_correct, &g_wrong, &g_beep, &g_chime}) *s = CachedSound(s->file);
}

}  // namespace shell
