#include "post/app/lum_post_form.h"

#include <QMdiArea>

namespace lum {

LumPostForm::LumPostForm(QWidget* parent) : QMainWindow(parent), mMdiArea(new QMdiArea(this)) {
  setObjectName("LUMPostForm");
  setWindowTitle("Vazi Varur - V4");
  mMdiArea->setObjectName("MdiArea");
  setCentralWidget(mMdiArea);
  resize(1024, 720);
}

}  // namespace lum
