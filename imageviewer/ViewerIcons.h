// The pictures of the image viewer's toolbar.
#pragma once

class TImageList;

// Indexes into the viewer's image list, in the order LoadViewerIcons adds them.
enum ViewerIcon { viewerOpen, viewerClose, viewerCopy, viewerCenter, viewerStretch, viewerDesktop };

void LoadViewerIcons(TImageList& images);
