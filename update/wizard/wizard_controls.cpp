#include "update/wizard/wizard_controls.h"

namespace korvane::update {

using namespace platform::ui;

WizardControls::WizardControls(const Window& wizard)
    : window(wizard),
      next(wizard.Find<PictureButton>("图形按钮_下一步")),
      cancel(wizard.Find<PictureButton>("图形按钮_取消")),
      retest(wizard.Find<PictureButton>("图形按钮_重新测试网络")),
      status_list(wizard.Find<ListBox>("列表框_状态")),
      size_list(wizard.Find<ListBox>("列表框_文件大小")),
      file_list(wizard.Find<ListBox>("列表框_更新文件")),
      file_table(wizard.Find<PictureBox>("图片框_更新列表")),
      error_panel(wizard.Find<PictureBox>("图片框_出错提示")),
      error_text(wizard.Find<EditBox>("编辑框_出错提示")),
      description(wizard.Find<Label>("标签_功能说明")),
      network_status(wizard.Find<Label>("标签_网络状态")),
      guide(wizard.Find<Label>("标签_指导操作")),
      main_panel(wizard.Find<DrawPanel>("画板_水晶进度条_1")),
      file_panel(wizard.Find<DrawPanel>("画板_水晶进度条_2")),
      zip(wizard.Find<ZipUnit>("ZIP压缩1")) {}

}  // namespace korvane::update
