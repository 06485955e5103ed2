// The update file the demo server hands out: a real program of this platform
// standing in for a newer player. It says what it is and ends with status 0.
#include <cstdio>

int main()
{
    std::puts("kivoplay: 演示服务器提供的更新文件（原播放器保存在 kivoplay.bak）");
    return 0;
}
