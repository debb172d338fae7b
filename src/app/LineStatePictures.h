#pragma once
#include <QPixmap>

#include <vector>

// The ten line-state pictures of the panel's image list: 0 idle, 1 off hook,
// 2 and 3 ringing (two blink phases), 4 in call, 5 waiting, 6 and 9 dialling
// (two blink phases), 7 error, 8 busy.
std::vector<QPixmap> MakeLineStatePictures(int size = 24);
