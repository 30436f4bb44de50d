// The signature commands' file dialogs.
#pragma once

// "シグネチャを保存": the last generation's model under a name the user gives.
void OnSaveSignaturesDialog();
// "シグネチャを読み込む": a signature file onto the window.
void OnLoadSignaturesDialog();
