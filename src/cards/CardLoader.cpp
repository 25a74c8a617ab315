// Loading a card's picture from the bundle's two card picture files.
#include <memory>

#include "cards/CardTable.h"
#include "cards/mGlobals.h"
#include "platform/Application.h"
#include "platform/FolderItem.h"
#include "platform/ResourceFork.h"
#include "platform/System.h"

namespace mGlobals {
namespace {

// A nil item and an item that does not exist are both "no item".
bool NoItem(const tk::FolderItem& f) { return f.IsNil() || !f.Exists(); }

void Fail(const char* message) {
    tk::MsgBox(message);
    tk::Quit();
}

}  // namespace

void mOpenCard() {
    pClockFace = tk::Picture();

    const tk::FolderItem bundle = tk::GetFolderItem("Tickmoor.app");
    if (NoItem(bundle)) return Fail("Program has been renamed.  Error.  [100]");
    const tk::FolderItem contents = bundle.Child("Contents");
    if (NoItem(contents)) return Fail("Program resources damaged. [200]");
    const tk::FolderItem resources = contents.Child("Resources");
    if (NoItem(resources)) return Fail("Program resources damaged. [300]");

    const cards::CardPicture where = cards::PictureOfCard(iCardNum);
    const tk::FolderItem file = resources.Child(where.file->name);
    if (NoItem(file)) return Fail("Resource File Not Found.  [401]");

    std::unique_ptr<tk::ResourceFork> fork = file.OpenResourceFork();
    if (!fork) return Fail("Resource File Damaged.  [400]");

    // A picture that is missing from its file, or cannot be decoded, will
    // never arrive: waiting for it would hang the program.
    pClockFace = fork->GetPicture(where.id);
    fork->Close();
    if (pClockFace.IsNil()) return Fail("Resource File Damaged.  [400]");
}

}  // namespace mGlobals
