# Writes OUT/items.xml (run with cmake -P at build time): a skin whose one image string
# names 16,000 images, too repetitive to keep in the tree.
cmake_minimum_required(VERSION 3.20)
if(NOT OUT)
    message(FATAL_ERROR "usage: cmake -DOUT=dir -P MakeItems.cmake")
endif()
string(REPEAT "file='tile.png' " 16000 items)
file(WRITE "${OUT}/items.xml" "<Window size=\"400,300\">
  <Control bkimage=\"${items}\"/>
</Window>
")
