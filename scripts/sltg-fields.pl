#!/usr/bin/perl
# The fields (variables) and implemented types of every type of a type
# library in the older SLTG format, and the library's locale, read from the
# file's bytes on their own, apart from the program's reader: the Wine stage
# takes an array's bound, a field's referenced type, a base from another
# library and the locale from here where Wine's oleaut32 renders them
# otherwise (scripts/render-known-differences.pl and
# scripts/idl-known-differences.pl, the classes sltg-*).
#   scripts/sltg-fields.pl FILE
# FILE is an SLTG library or a file that holds one (a PE file's TYPELIB
# resource: the first "SLTG" in it). First the library's locale, then one
# line per field and per implemented type (a base, a coclass's interface):
#   <library> lcid LCID                 the locale, a decimal number
#   TYPE FIELD array COUNT[,COUNT...]   an array of fixed size: the element
#                                       count of each dimension
#   TYPE FIELD ref NAME                 a type of this library
#   TYPE FIELD ref imported             a type of another library
#   TYPE FIELD other                    anything else
#   TYPE <impl> ref NAME|imported       an implemented type
#   TYPE FUNC(KIND) params P1,P2[ vararg]   a function (KIND: empty, get, put
#                                       or putref) with its parameters'
#                                       names ("-" for none); "vararg" when
#                                       its count of optional ones says so
# Exit status 2 when the file holds no SLTG library, 1 when the library
# cannot be walked.
use strict;
use warnings;

my $path = shift // die "usage: sltg-fields.pl FILE\n";
open(my $in, '<:raw', $path) or die "$path: $!\n";
my $file = do { local $/; <$in> };
close $in;
my $start = index($file, 'SLTG');
if ($start < 0) {
  print STDERR "$path: no SLTG library\n";
  exit 2;
}
my $bytes = substr($file, $start);

sub fail { die "$path: $_[0]\n" }
sub u8  { my ($at) = @_; fail("past the end at $at") if $at + 1 > length $bytes; unpack('C', substr($bytes, $at, 1)) }
sub u16 { my ($at) = @_; fail("past the end at $at") if $at + 2 > length $bytes; unpack('v', substr($bytes, $at, 2)) }
sub u32 { my ($at) = @_; fail("past the end at $at") if $at + 4 > length $bytes; unpack('V', substr($bytes, $at, 4)) }
sub cstring { my ($at) = @_; my $end = index($bytes, "\0", $at); fail("no end of text at $at") if $end < 0; substr($bytes, $at, $end - $at) }

# The header: block count, the length of the block names, the first block;
# then the directory (length, name offset, next block) and the names.
my ($count, $names_length, $first) = (u16(4), u16(8), u16(10));
my (@length, @name_at, @next);
for my $i (0 .. $count - 1) {
  my $e = 0x1C + 8 * $i;
  ($length[$i], $name_at[$i], $next[$i]) = (u32($e), u16($e + 4), u16($e + 6));
}
my $block_names = 0x1C + 8 * $count;
my %block;  # name => [offset, length]
my $offset = $block_names + $names_length + 9;
for (my ($i, $step) = ($first, 0); $step < $count && $i < $count; ++$step, $i = $next[$i]) {
  $block{cstring($block_names + $name_at[$i])} = [$offset, $length[$i]];
  $offset += $length[$i];
}
my $dir = $block{dir} // fail('no library block');
my $d = $dir->[0];
fail('not a library block') unless u16($d) == 0x51CC;

# A text with its 16-bit length before it (0xFFFF: none): the text and the
# offset after it.
sub counted {
  my ($at) = @_;
  my $n = u16($at);
  return ('', $at + 2) if $n == 0xFFFF;
  fail("text past the end at $at") if $at + 2 + $n > length $bytes;
  return (substr($bytes, $at + 2, $n), $at + 2 + $n);
}
my $at = $d + 8;
(undef, $at) = counted($at);  # documentation
(undef, $at) = counted($at);  # help file
print '<library> lcid ', u16($at + 6), "\n";  # after the help context and the system kind
my $types = u16($at + 98);     # the last field of the library's attributes
$at += 100;
my @types;  # [block name, name offset]
for (1 .. $types) {
  my ($block_name, $name);
  ($block_name, $at) = counted($at);
  (undef, $at) = counted($at);
  (undef, $at) = counted($at);
  $name = u16($at);
  $at += 2;
  (undef, $at) = counted($at);
  (undef, $at) = counted($at);
  $at += 4;
  (undef, $at) = counted($at);
  $at += 18;  # GUID and kind
  push @types, [$block_name, $name];
}
# Two sections: the hash of the names, then the name table.
my $sections = $d + u32($at);
my $table = $sections + 7 + u32($sections + 3) + 2 + 7;
sub name_of { my ($o) = @_; return cstring($table + $o + 8) }

for my $t (@types) {
  my ($block_name, $name_offset) = @$t;
  my $b = $block{$block_name} // fail("no block $block_name");
  my $type_name = name_of($name_offset);
  my $base = $b->[0];
  fail("not a type block: $block_name") unless u16($base) == 0x0501;
  my ($refs_at, $members_at) = (u32($base + 2), u32($base + 10));
  # The reference texts: "*\Rffff*#N" is type N of this library.
  my @refs;
  if ($refs_at != 0xFFFFFFFF) {
    my $r = $base + $refs_at;
    fail("no references at $r") unless u8($r) == 0xDF;
    my $entries = u32($r + 0x44);
    $r += 0x48 + $entries + 7;
    for (1 .. $entries / 8) {
      my $text;
      ($text, $r) = counted($r);
      push @refs, $text;
    }
  }
  my $data = $base + $members_at + 9;
  my $tail = $data + u32($base + $members_at + 5);
  # What a type word says: at $type itself (inline) or where it points.
  my $type_of = sub {
    my ($type, $inline, $what_for) = @_;
    my ($word, $follow_at) = ($type, undef);
    if (!$inline) {  # the word says where the type lies
      $word = u16($data + $type);
      $follow_at = $data + $type + 2;
    }
    my $vt = $word & 0x3F;
    if (defined $follow_at && $vt == 0x1C) {
      my $array = $data + u16($follow_at);
      my $dims = u16($array);
      return 'array ' . join(',', map { u32($array + 16 + 8 * $_) } 0 .. $dims - 1);
    } elsif (defined $follow_at && $vt == 0x1D) {
      my $ref = $refs[u16($follow_at) >> 2] // fail("$type_name.$what_for: no reference");
      return $ref =~ /^\*\\Rffff\*#([0-9a-fA-F]+)$/ ? 'ref ' . name_of($types[hex $1][1]) : 'ref imported';
    }
    return 'other';
  };
  my ($vars, $var) = (u16($tail + 2), u16($tail + 10));
  for (1 .. $vars) {
    my $rec = $data + $var;
    my ($flags, $name, $type) = (u8($rec + 1), u16($rec + 4), u16($rec + 8));
    my $field = name_of($name);
    print "$type_name $field ", $type_of->($type, $flags & 0x02, $field), "\n";
    $var = u16($rec + 2);
  }
  my ($funcs, $func) = (u16($tail + 0), u16($tail + 8));
  my %kind = (1 => '', 2 => 'get', 4 => 'put', 8 => 'putref');
  for (1 .. $funcs) {
    my $rec = $data + $func;
    my ($invoke, $args, $count, $optional) = (u8($rec + 1) >> 4, u16($rec + 14), u8($rec + 16) >> 3, u8($rec + 17));
    my @names;
    for my $p (0 .. $count - 1) {
      my $name = u16($data + $args + 4 * $p);  # bit 0: the type is inline
      push @names, ($name | 1) == 0xFFFF ? '-' : name_of($name & ~1);
    }
    printf "%s %s(%s) params %s%s\n", $type_name, name_of(u16($rec + 4)), $kind{$invoke} // $invoke,
      join(',', @names), (($optional & 0x7E) >> 1) == 0x3F ? ' vararg' : '';
    $func = u16($rec + 2);
  }
  my ($impls, $impl) = (u16($tail + 4), u16($tail + 12));
  for (1 .. $impls) {
    my $rec = $data + $impl;
    fail("$type_name: not an implemented type at $rec") unless u8($rec) == 0x4A;
    print "$type_name <impl> ", $type_of->(u16($rec + 8), 0, '<impl>'), "\n";
    $impl = u16($rec + 2);
  }
}
