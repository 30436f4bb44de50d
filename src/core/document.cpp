#include "core/document.h"

#include <array>
#include <cstdint>

#include "core/archive.h"
#include "core/commands.h"
#include "core/file_io.h"
#include "core/platform.h"
#include "core/settings_groups.h"
#include "core/state.h"

namespace {

// At least the sections of any one group.
constexpr int kMaxSaveFlags = 32;

constexpr const char* kszUntitled = "無題";
constexpr const char* kszMsgSaveChanges = "変更を保存しますか？";
constexpr const char* kszCapSaveChanges = "Geolumen";

int s_nSaveCommand = 0;
std::uint64_t s_nChanges = 0;
std::uint64_t s_nSettled = 0;

struct Document {
  std::string strPath;   // the work file
  std::string strScene;  // the scene file of the last import, while there is no work file
  bool bModified = false;
  std::uint64_t nDigest = 0;  // of what the file would keep when last looked at
  std::uint64_t nRawDigest = 0;  // of the settings' bytes then: unchanged, nothing to look at
};
Document s_doc;

// What the work file would keep of the settings: each group's sections as they would be
// written (so what a picture computes on the way, like a category's validity, does not count),
// the settings of groups without sections, and the user texts.
std::uint64_t RawDigest() {
  std::uint64_t n = SettingsGroupsDigest();
  for (const std::string& str : g_astrUserText) n = DigestText(n, str);
  return n;
}

std::uint64_t CurrentDigest() {
  static ArchiveWriter out;
  std::uint64_t n = 0;
  std::string strReason;
  for (const SettingsGroup& group : SettingsGroups()) {
    const WorkFileSectionCodec& codec = group.workFile;
    if (codec.nCount == 0) n = DigestBytes(n, group.abSettings.data(), group.abSettings.size());
    for (int i = 0; i < codec.nCount; ++i) {
      out.Data().clear();
      if (!codec.pfnWrite(out, i, strReason)) {
        // A text with no form in the file: the texts themselves stand in.
        for (const std::string& str : group.astrTexts) n = DigestText(n, str);
      }
      n = DigestBytes(n, out.Data().data(), out.Data().size());
    }
    static const std::array<int, kMaxSaveFlags> kabAll = [] {
      std::array<int, kMaxSaveFlags> ab;
      ab.fill(1);
      return ab;
    }();
    for (const WorkFileRecord& record : codec.aRecords) {
      out.Data().clear();
      if (record.pfnNeeded(kabAll.data()) && record.pfnWrite(out, strReason)) {
        n = DigestBytes(n, out.Data().data(), out.Data().size());
      }
    }
  }
  for (const std::string& str : g_astrUserText) n = DigestText(n, str);
  return n;
}

void ShowTitle() { ThePlatform().SetDocumentTitle(DocumentTitle(), s_doc.bModified); }

void SetDocument(const std::string& strPath, const std::string& strScene, bool bModified) {
  s_doc.strPath = strPath;
  s_doc.strScene = strScene;
  s_doc.bModified = bModified;
  if (bModified) {
    ++s_nChanges;
  } else {
    ++s_nSettled;
  }
  s_doc.nDigest = CurrentDigest();
  s_doc.nRawDigest = RawDigest();
  ShowTitle();
}

}  // namespace

const std::string& DocumentPath() { return s_doc.strPath; }

std::string DocumentTitle() {
  if (!s_doc.strPath.empty()) return FileName(s_doc.strPath);
  if (!s_doc.strScene.empty()) return FileName(s_doc.strScene);
  return kszUntitled;
}

void SetDocumentFile(const std::string& strPath) { SetDocument(strPath, "", false); }
void SetDocumentScene(const std::string& strScenePath) { SetDocument("", strScenePath, true); }
void SetDocumentUntitled() { SetDocument("", "", false); }
void SetDocumentRecovered() { SetDocument("", "", true); }
void ResetDocument() { SetDocumentUntitled(); }

std::uint64_t DocumentChangeCount() { return s_nChanges; }
std::uint64_t DocumentSettledCount() { return s_nSettled; }

void MarkDocumentModified() {
  // Every change counts, also those after the first: a recovery copy must follow them all.
  ++s_nChanges;
  if (s_doc.bModified) return;
  s_doc.bModified = true;
  ShowTitle();
}

void NoteDocumentChanges() {
  // Most calls (a click that paints, a picture shown) change no setting at all: the bytes'
  // digest says so at the cost of hashing a few kilobytes, without encoding any section.
  const std::uint64_t nRaw = RawDigest();
  if (nRaw == s_doc.nRawDigest) return;
  s_doc.nRawDigest = nRaw;
  const std::uint64_t nDigest = CurrentDigest();
  if (nDigest == s_doc.nDigest) return;
  s_doc.nDigest = nDigest;
  MarkDocumentModified();
}

bool DocumentModified() {
  NoteDocumentChanges();
  return s_doc.bModified;
}

void SetDocumentSaveCommand(int nCommandId) { s_nSaveCommand = nCommandId; }

bool ConfirmSaveChanges() {
  // Without data the save command cannot run: there is nothing to keep.
  if (!DocumentModified() || !s_nSaveCommand || !CommandRuleAllows(s_nSaveCommand)) return true;
  switch (ThePlatform().MessageBox(kszMsgSaveChanges, kszCapSaveChanges,
                                   MsgButtons::SaveDiscardCancel)) {
    case MsgResult::Discard: return true;
    case MsgResult::Save:
      // Saved only if the document is now unchanged: a cancelled name or a failed write stops.
      return DispatchCommand(s_nSaveCommand) && !DocumentModified();
    case MsgResult::Ok:
    case MsgResult::Restore:
    case MsgResult::Cancel: return false;
  }
  return false;
}
