// The detailed histogram of the target category's image and of the classification.
#pragma once

// Registers the category and classification kinds.
void RegisterClassificationHistogramKinds();
