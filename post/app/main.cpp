#include <QApplication>

#include "post/app/lum_post_form.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("LumPost");
  lum::LumPostForm form;
  form.show();
  return QApplication::exec();
}
